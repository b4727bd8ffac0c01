#pragma once
// The viewer's picture list (stlf): paths in native bytes, always sorted by
// the user locale's name order, never two that compare equal.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class PictureList {
public:
    // Inserts path at its sorted place; if an equal entry is present the
    // list stays as it is (the first spelling is kept) and it returns false.
    bool add(const std::string& path);
    // The same list as adding paths one by one in order, in O(n log n).
    void addBatch(std::vector<std::string> paths);
    void clear();
    int count() const;
    const std::string& at(int i) const;

private:
    // The sort key is kept so comparisons never re-derive collation data.
    // Keys never change: they live in blocks, a batch's in a few, that
    // copies of the list share.
    using KeyBlock = std::shared_ptr<const std::string>;
    struct Entry {
        std::string_view key;
        std::string path;
    };
    static std::vector<Entry> sortedBatch(std::vector<std::string>& paths, std::vector<KeyBlock>& blocks);
    std::vector<Entry> entries_;
    std::vector<KeyBlock> keyBlocks_;
};
