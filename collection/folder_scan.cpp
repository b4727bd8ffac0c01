#include "collection/folder_scan.h"
#include "collection/file_tests.h"
#include <dirent.h>
#include <sys/stat.h>

namespace {

// One folder on the way down. Its entries are read at once and the folder
// closed, so a deep tree holds no open handles; an explicit stack of these
// keeps a deep tree from exhausting the call stack.
struct Listing {
    std::string prefix; // ends in '/'
    dev_t device;
    ino_t inode;
    std::vector<std::pair<std::string, unsigned char>> entries; // name, d_type
    size_t next = 0;
};

bool onDescent(const std::vector<Listing>& descent, const struct stat& folder)
{
    for (const Listing& above : descent)
        if (above.device == folder.st_dev && above.inode == folder.st_ino)
            return true;
    return false;
}

void enter(std::vector<Listing>& descent, std::string prefix)
{
    DIR* dir = opendir(prefix.c_str());
    if (!dir)
        return;
    struct stat st;
    if (fstat(dirfd(dir), &st) == 0 && !onDescent(descent, st)) {
        Listing folder{std::move(prefix), st.st_dev, st.st_ino, {}};
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                folder.entries.emplace_back(entry->d_name, entry->d_type);
        descent.push_back(std::move(folder));
    }
    closedir(dir);
}

// Sized exactly, since a list may keep a million of them.
std::string join(const std::string& prefix, const std::string& name)
{
    std::string path;
    path.reserve(prefix.size() + name.size());
    path.append(prefix).append(name);
    return path;
}

// A link to a folder is a folder; d_type answers without a stat otherwise.
bool isFolderEntry(const std::string& path, unsigned char type)
{
    return type == DT_DIR || ((type == DT_LNK || type == DT_UNKNOWN) && isFolder(path));
}

}

std::vector<std::string> scanFolder(const std::string& dir)
{
    std::vector<std::string> finds;
    std::vector<Listing> descent;
    enter(descent, dir.ends_with('/') ? dir : dir + '/');
    while (!descent.empty()) {
        Listing& folder = descent.back();
        if (folder.next == folder.entries.size()) {
            descent.pop_back();
            continue;
        }
        const auto& [name, type] = folder.entries[folder.next++];
        std::string path = join(folder.prefix, name);
        if (isFolderEntry(path, type))
            enter(descent, path + '/');
        else if (isPictureFileName(name) && (type == DT_REG || isFile(path)))
            finds.push_back(std::move(path));
    }
    return finds;
}
