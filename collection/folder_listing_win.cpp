#include "collection/folder_listing.h"
#include "platform/native_text.h"
#include <windows.h>

struct FolderListing::Impl {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool pending = false; // data holds an entry not yet handed out
    Identity identity;
    std::string name;
};

static bool listed(const WIN32_FIND_DATAW& data)
{
    const std::wstring_view name = data.cFileName;
    return !(data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && name != L"." && name != L"..";
}

FolderListing::FolderListing(const std::string& prefix) : impl_(std::make_unique<Impl>())
{
    const std::wstring folder = platform::wideText(prefix);
    const HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return;
    impl_->identity = {info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    impl_->find = FindFirstFileExW(
        (folder + L'*').c_str(), FindExInfoBasic, &impl_->data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    impl_->pending = impl_->find != INVALID_HANDLE_VALUE;
}

FolderListing::~FolderListing()
{
    if (impl_->find != INVALID_HANDLE_VALUE)
        FindClose(impl_->find);
}

bool FolderListing::opened() const
{
    return impl_->find != INVALID_HANDLE_VALUE;
}

FolderListing::Identity FolderListing::identity() const
{
    return impl_->identity;
}

bool FolderListing::next(Entry& entry)
{
    while (impl_->pending && !listed(impl_->data))
        impl_->pending = FindNextFileW(impl_->find, &impl_->data);
    if (!impl_->pending)
        return false;
    const DWORD attributes = impl_->data.dwFileAttributes;
    impl_->name = platform::nativeText(std::wstring_view(impl_->data.cFileName));
    entry.name = impl_->name;
    entry.kind = attributes & FILE_ATTRIBUTE_DIRECTORY ? Entry::Folder
        : attributes & FILE_ATTRIBUTE_REPARSE_POINT    ? Entry::Other
                                                       : Entry::RegularFile;
    impl_->pending = FindNextFileW(impl_->find, &impl_->data);
    return true;
}
