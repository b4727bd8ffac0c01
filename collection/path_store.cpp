#include "collection/path_store.h"
#include <stdexcept>

uint32_t PathStore::addFolder(std::string_view folder)
{
    folders_.emplace_back(folder);
    return uint32_t(folders_.size() - 1);
}

// name's bytes kept, and its entry, which the caller places.
PathStore::Entry PathStore::stored(uint32_t folder, std::string_view name)
{
    if (name.size() > UINT32_MAX)
        throw std::length_error("name too long");
    const Entry added{names_.size(), uint32_t(name.size()), folder};
    names_.append(name);
    return added;
}

PathStore::Entry PathStore::stored(std::string_view path)
{
    const size_t cut = path.rfind('/') + 1; // 0 with no '/'
    const std::string_view folder = path.substr(0, cut);
    if (folders_.empty() || folders_.back() != folder)
        addFolder(folder);
    return stored(uint32_t(folders_.size() - 1), path.substr(cut));
}

void PathStore::add(uint32_t folder, std::string_view name)
{
    entries_.push_back(stored(folder, name));
}

void PathStore::add(std::string_view path)
{
    entries_.push_back(stored(path));
}

void PathStore::insert(size_t at, std::string_view path)
{
    const Entry added = stored(path);
    entries_.insert(entries_.begin() + std::ptrdiff_t(at), added);
}

void PathStore::reserve(size_t paths, size_t nameBytes)
{
    entries_.reserve(entries_.size() + paths);
    names_.reserve(names_.size() + nameBytes);
}

void PathStore::path(size_t i, std::string& out) const
{
    const Entry& at = entries_[i];
    out.assign(folders_[at.folder]).append(names_, at.name, at.nameSize);
}

std::string PathStore::path(size_t i) const
{
    std::string out;
    path(i, out);
    return out;
}

void PathStore::append(PathStore&& other)
{
    if (entries_.empty() && folders_.empty()) {
        *this = std::move(other);
        return;
    }
    const size_t folderBase = folders_.size(), nameBase = names_.size();
    folders_.insert(folders_.end(), std::make_move_iterator(other.folders_.begin()),
                    std::make_move_iterator(other.folders_.end()));
    names_ += other.names_;
    entries_.reserve(entries_.size() + other.entries_.size());
    for (const Entry& added : other.entries_)
        entries_.push_back({nameBase + added.name, added.nameSize, uint32_t(folderBase + added.folder)});
    other.clear();
}

void PathStore::keep(const std::vector<uint32_t>& positions)
{
    std::vector<Entry> kept;
    kept.reserve(positions.size());
    for (const uint32_t position : positions)
        kept.push_back(entries_[position]);
    entries_ = std::move(kept);
}

void PathStore::clear()
{
    *this = {};
}
