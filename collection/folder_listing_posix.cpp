#include "collection/folder_listing.h"
#include <dirent.h>
#include <sys/stat.h>

struct FolderListing::Impl {
    DIR* dir = nullptr;
    Identity identity;
};

FolderListing::FolderListing(const std::string& prefix) : impl_(std::make_unique<Impl>())
{
    impl_->dir = opendir(prefix.c_str());
    struct stat st;
    if (impl_->dir && fstat(dirfd(impl_->dir), &st) == 0) {
        impl_->identity = {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
    } else if (impl_->dir) {
        closedir(impl_->dir);
        impl_->dir = nullptr;
    }
}

FolderListing::~FolderListing()
{
    if (impl_->dir)
        closedir(impl_->dir);
}

bool FolderListing::opened() const
{
    return impl_->dir != nullptr;
}

FolderListing::Identity FolderListing::identity() const
{
    return impl_->identity;
}

bool FolderListing::next(Entry& entry)
{
    if (!impl_->dir)
        return false;
    const dirent* found = readdir(impl_->dir);
    while (found && found->d_name[0] == '.')
        found = readdir(impl_->dir);
    if (!found)
        return false;
    entry.name = found->d_name;
    entry.kind = found->d_type == DT_DIR ? Entry::Folder : found->d_type == DT_REG ? Entry::RegularFile : Entry::Other;
    return true;
}
