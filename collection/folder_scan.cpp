#include "collection/folder_scan.h"
#include "collection/file_tests.h"
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <dirent.h>
#include <exception>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace {

// The folders on the way down to one, so that a link back up to any of them
// (a loop) is not entered again.
struct Ancestry {
    dev_t device;
    ino_t inode;
    std::shared_ptr<const Ancestry> above;
};

bool onDescent(const Ancestry* folder, const struct stat& candidate)
{
    for (; folder; folder = folder->above.get())
        if (folder->device == candidate.st_dev && folder->inode == candidate.st_ino)
            return true;
    return false;
}

// One folder of the tree, listed by whichever walking thread took it: its
// finds and its subfolders, in listing order.
struct Folder {
    std::string prefix; // ends in '/'
    std::shared_ptr<const Ancestry> above;
    std::string names; // the finds' names one after another
    struct Item {
        size_t value;  // where a find's name ends in names, or
        bool isFolder; // the index of a subfolder
    };
    std::vector<Item> items;
};

// A link to a folder is a folder; d_type answers without a stat otherwise.
bool isFolderEntry(const std::string& path, unsigned char type)
{
    return type == DT_DIR || ((type == DT_LNK || type == DT_UNKNOWN) && isFolder(path));
}

// The folders of a tree, listed on several threads at once: listing is
// mostly waiting on the file system, which serves several at a time.
class TreeWalk {
public:
    explicit TreeWalk(std::string root) { folders_.push_back({std::move(root), nullptr, {}, {}}); }

    // Lists the whole tree; what a listing thread ran into (out of memory)
    // ends the walk on every thread and is raised here.
    void run()
    {
        const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1;
        {
            std::vector<std::jthread> threads;
            for (unsigned i = 0; i < helpers; ++i)
                threads.emplace_back([this] { work(); });
            work();
        }
        if (failure_)
            std::rethrow_exception(failure_);
    }

    // The finds in the order a depth-first walk in listing order makes;
    // each folder's listing is let go once its finds are taken.
    PathStore finds()
    {
        PathStore found;
        found.reserve(findCount_, nameBytes_);
        constexpr uint32_t none = ~0u;
        std::vector<uint32_t> stored(folders_.size(), none); // each folder's index in found
        struct Step {
            size_t folder, next, nameStart;
        };
        std::vector<Step> descent{{0, 0, 0}};
        while (!descent.empty()) {
            auto& [index, next, nameStart] = descent.back();
            Folder& folder = folders_[index];
            if (next == folder.items.size()) {
                folder = {};
                descent.pop_back();
                continue;
            }
            const Folder::Item item = folder.items[next++];
            if (item.isFolder) {
                descent.push_back({item.value, 0, 0});
                continue;
            }
            if (stored[index] == none)
                stored[index] = found.addFolder(folder.prefix);
            found.add(stored[index], std::string_view(folder.names).substr(nameStart, item.value - nameStart));
            nameStart = item.value;
        }
        return found;
    }

private:
    // Takes folders to list until none is left and no thread is listing one
    // that could add more.
    void work()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return next_ < folders_.size() || busy_ == 0 || failure_; });
            if (next_ == folders_.size() || failure_)
                return;
            Folder& folder = folders_[next_++]; // a deque: stays where it is
            ++busy_;
            lock.unlock();
            std::exception_ptr failed;
            try {
                list(folder);
            } catch (...) {
                failed = std::current_exception();
            }
            lock.lock();
            --busy_;
            if (failed && !failure_)
                failure_ = failed;
            changed_.notify_all();
        }
    }

    // Lists folder, unless it cannot be opened or lies on its own way down.
    void list(Folder& folder)
    {
        DIR* dir = opendir(folder.prefix.c_str());
        if (!dir)
            return;
        struct stat st;
        if (fstat(dirfd(dir), &st) != 0 || onDescent(folder.above.get(), st)) {
            closedir(dir);
            return;
        }
        const auto self = std::make_shared<const Ancestry>(Ancestry{st.st_dev, st.st_ino, folder.above});
        std::vector<Folder> subfolders;
        std::string path = folder.prefix; // reused: no allocation per entry
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            path.resize(folder.prefix.size());
            path += entry->d_name;
            if (isFolderEntry(path, entry->d_type)) {
                folder.items.push_back({subfolders.size(), true});
                subfolders.push_back({path + '/', self, {}, {}});
            } else if (isPictureFileName(entry->d_name) && (entry->d_type == DT_REG || isFile(path))) {
                folder.names += entry->d_name;
                folder.items.push_back({folder.names.size(), false});
            }
        }
        closedir(dir);
        folder.names.shrink_to_fit();
        folder.items.shrink_to_fit();
        const std::lock_guard lock(mutex_);
        findCount_ += folder.items.size() - subfolders.size();
        nameBytes_ += folder.names.size();
        const size_t first = folders_.size();
        for (Folder::Item& item : folder.items)
            if (item.isFolder)
                item.value += first;
        std::move(subfolders.begin(), subfolders.end(), std::back_inserter(folders_));
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Folder> folders_; // the root first, then in the order found
    size_t next_ = 0;            // the first folder no thread has taken
    size_t findCount_ = 0;
    size_t nameBytes_ = 0;
    std::exception_ptr failure_; // the first a listing thread ran into
    int busy_ = 0;               // threads listing a folder
};

}

PathStore scanFolder(const std::string& dir)
{
    TreeWalk walk(dir.ends_with('/') ? dir : dir + '/');
    walk.run();
    return walk.finds();
}
