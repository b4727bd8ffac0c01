#pragma once
// One folder's entries as the file system lists them, in its order, hidden
// ones left out: on Windows those with the hidden or system attribute,
// elsewhere those whose name begins with '.'; "." and ".." always.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class FolderListing {
public:
    // prefix is the folder's path ending in pathSeparator.
    explicit FolderListing(const std::string& prefix);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Whether the folder could be listed; an unlisted one has no entries.
    bool opened() const;

    // Tells folders apart however they were reached (links included).
    struct Identity {
        std::uint64_t device = 0, folder = 0;
        bool operator==(const Identity&) const = default;
    };
    Identity identity() const;

    struct Entry {
        enum Kind { Folder, RegularFile, Other }; // Other: a link, or what the listing did not say
        std::string_view name;                    // native bytes, valid until the next call
        Kind kind = Other;
    };
    // The next entry into entry; false when there are no more.
    bool next(Entry& entry);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
