#pragma once
// Many paths in little memory: each folder part is kept once, the names lie
// one after another in one block, and a path costs an entry of 16 bytes
// rather than a heap block of its own.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class PathStore {
public:
    // Adds a folder part (up to and with its last '/') for names to refer to.
    uint32_t addFolder(std::string_view folder);
    // Adds the path folder + name at the end.
    void add(uint32_t folder, std::string_view name);
    // Adds path at the end, or at position at; its part up to its last '/'
    // is its folder, shared with the path added before if theirs are alike.
    void add(std::string_view path);
    void insert(size_t at, std::string_view path);
    // Room for paths more paths of nameBytes bytes of names in all.
    void reserve(size_t paths, size_t nameBytes);

    size_t size() const { return entries_.size(); }
    std::string path(size_t i) const;
    // The path at i into out, which keeps its memory from path to path.
    void path(size_t i, std::string& out) const;

    // Adds all of other's paths at the end.
    void append(PathStore&& other);
    // Keeps the paths at positions, in their order; the others are gone.
    void keep(const std::vector<uint32_t>& positions);
    void clear();

private:
    struct Entry {
        size_t name;
        uint32_t nameSize;
        uint32_t folder;
    };
    Entry stored(uint32_t folder, std::string_view name);
    Entry stored(std::string_view path);

    std::vector<std::string> folders_;
    std::string names_;
    std::vector<Entry> entries_;
};
