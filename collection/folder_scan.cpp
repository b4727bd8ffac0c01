#include "collection/folder_scan.h"
#include "collection/file_tests.h"
#include "collection/folder_listing.h"
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The folders on the way down to one, so that a link back up to any of them
// (a loop) is not entered again.
struct Ancestry {
    FolderListing::Identity identity;
    std::shared_ptr<const Ancestry> above;
};

bool onDescent(const Ancestry* folder, const FolderListing::Identity& candidate)
{
    for (; folder; folder = folder->above.get())
        if (folder->identity == candidate)
            return true;
    return false;
}

// One folder of the tree, listed by whichever walking thread took it: its
// finds and its subfolders, in listing order.
struct Folder {
    std::string prefix; // ends in pathSeparator
    std::shared_ptr<const Ancestry> above;
    std::string names; // the finds' names one after another
    struct Item {
        size_t value;  // where a find's name ends in names, or
        bool isFolder; // the index of a subfolder
    };
    std::vector<Item> items;
};

// A link to a folder is a folder; the listing answers without a look at
// the entry otherwise.
bool isFolderEntry(const std::string& path, FolderListing::Entry::Kind kind)
{
    return kind == FolderListing::Entry::Folder || (kind == FolderListing::Entry::Other && isFolder(path));
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
        FolderListing listing(folder.prefix);
        if (!listing.opened() || onDescent(folder.above.get(), listing.identity()))
            return;
        const auto self = std::make_shared<const Ancestry>(Ancestry{listing.identity(), folder.above});
        std::vector<Folder> subfolders;
        std::string path = folder.prefix; // reused: no allocation per entry
        FolderListing::Entry entry;
        while (listing.next(entry)) {
            path.resize(folder.prefix.size());
            path += entry.name;
            if (isFolderEntry(path, entry.kind)) {
                folder.items.push_back({subfolders.size(), true});
                subfolders.push_back({path + pathSeparator, self, {}, {}});
            } else if (isPictureFileName(entry.name)
                && (entry.kind == FolderListing::Entry::RegularFile || isFile(path))) {
                folder.names += entry.name;
                folder.items.push_back({folder.names.size(), false});
            }
        }
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
    TreeWalk walk(dir.ends_with(pathSeparator) ? dir : dir + pathSeparator);
    walk.run();
    return walk.finds();
}
