// The keys of a scan are long and alike: they share the path of the folder
// scanned, and each folder's paths share its own. A plain sort compares
// them from their first byte, again and again. Here the keys sort eight
// bytes at a time, from the first byte where they differ: each item holds
// the eight bytes of its key that the current step looks at, the items
// sort by them, and each run of items whose eight bytes are alike sorts by
// its next eight. Most comparisons never look at a key.
#include "collection/key_order.h"
#include <algorithm>
#include <string_view>
#include <thread>

namespace {

struct Item {
    uint64_t next; // the eight bytes the current step looks at
    uint32_t position;
    bool repeat;   // the key before in order is the same
};

// The eight bytes of key from at on, as a number in their byte order; past
// its end, zeros.
uint64_t eightBytesAt(std::string_view key, size_t at)
{
    uint64_t bytes = 0;
    for (size_t i = at; i < at + 8; ++i)
        bytes = bytes << 8 | (i < key.size() ? uint8_t(key[i]) : 0u);
    return bytes;
}

// Items alike in their eight bytes go on to be sorted by the bytes after,
// and equal keys by position at the end: their order here is of no account.
bool byNext(const Item& a, const Item& b)
{
    return a.next < b.next;
}

class KeySorter {
public:
    explicit KeySorter(const std::vector<std::string_view>& keys) : keys_(keys) {}

    // How far beyond offset the keys of items all go on as reference does
    // (shared), and the longest of them.
    struct Extent {
        size_t shared, longest;
    };
    Extent extent(const Item* first, const Item* last, size_t offset, std::string_view reference) const
    {
        Extent found{reference.size(), 0};
        for (const Item* item = first; item != last; ++item) {
            const std::string_view key = keys_[item->position];
            found.longest = std::max(found.longest, key.size());
            const size_t most = std::min(found.shared, key.size());
            const size_t from = std::min(offset, most);
            // Most keys go on as the reference does: one vectorised
            // comparison tells, and only the others are walked byte by byte.
            if (key.substr(from, most - from) == reference.substr(from, most - from))
                found.shared = most;
            else
                found.shared = size_t(std::mismatch(key.begin() + std::ptrdiff_t(from), key.begin() + std::ptrdiff_t(most),
                                                    reference.begin() + std::ptrdiff_t(from)).first - key.begin());
        }
        found.shared = std::max(offset, found.shared);
        return found;
    }

    // Gives each item the eight bytes of its key from offset on.
    void look(Item* first, Item* last, size_t offset) const
    {
        for (Item* item = first; item != last; ++item)
            item->next = eightBytesAt(keys_[item->position], offset);
    }

    // Sorts each run of items alike in their eight bytes by the bytes after.
    void sortRuns(Item* first, Item* last, size_t offset) const
    {
        for (Item* run = first; run != last;) {
            Item* end = run + 1;
            while (end != last && end->next == run->next)
                ++end;
            sortFrom(run, end, offset + 8);
            run = end;
        }
    }

    // Sorts items whose keys are alike up to offset (where a key has ended,
    // as if it went on in zeros).
    void sortFrom(Item* first, Item* last, size_t offset) const
    {
        if (last - first < 2)
            return;
        // Straight on to where these keys first differ: a folder's paths
        // share much more than the folders around them.
        const Extent alike = extent(first, last, offset, keys_[first->position]);
        offset = alike.shared;
        if (last - first <= 16 || alike.longest <= offset + 8) {
            // Here alone can equal keys meet: elsewhere their eight bytes
            // set them apart.
            std::sort(first, last, [&](const Item& a, const Item& b) { return before(a, b, offset); });
            for (Item* item = first + 1; item != last; ++item)
                item->repeat = keys_[item->position] == keys_[(item - 1)->position];
            return;
        }
        look(first, last, offset);
        std::sort(first, last, byNext);
        sortRuns(first, last, offset);
    }

private:
    // The whole comparison, from offset on: a key that ends where the other
    // goes on in zeros is the shorter, and so the lesser.
    bool before(const Item& a, const Item& b, size_t offset) const
    {
        const std::string_view x = keys_[a.position];
        const std::string_view y = keys_[b.position];
        const int c = x.substr(std::min(offset, x.size())).compare(y.substr(std::min(offset, y.size())));
        if (c != 0)
            return c < 0;
        return x.size() != y.size() ? x.size() < y.size() : a.position < b.position;
    }

    const std::vector<std::string_view>& keys_;
};

}

std::vector<uint32_t> distinctKeyOrder(const std::vector<std::string_view>& keys)
{
    std::vector<Item> items(keys.size());
    for (uint32_t i = 0; i < items.size(); ++i)
        items[i] = {0, i, false};
    const KeySorter sorter(keys);
    if (keys.size() < 4096 || std::thread::hardware_concurrency() < 2) {
        sorter.sortFrom(items.data(), items.data() + items.size(), 0);
    } else {
        // The first step on two threads, each sorting half the items; their
        // merge's runs are then shared out, split where a run begins.
        Item* const begin = items.data();
        Item* const end = begin + items.size();
        Item* const middle = begin + items.size() / 2;
        size_t offset = 0, upperOffset = 0;
        {
            const std::jthread upper([&] { upperOffset = sorter.extent(middle, end, 0, keys.front()).shared; });
            offset = sorter.extent(begin, middle, 0, keys.front()).shared;
        }
        offset = std::min(offset, upperOffset);
        {
            const std::jthread lower([&] {
                sorter.look(begin, middle, offset);
                std::sort(begin, middle, byNext);
            });
            sorter.look(middle, end, offset);
            std::sort(middle, end, byNext);
        }
        std::vector<Item> merged(items.size());
        std::merge(begin, middle, middle, end, merged.begin(), byNext);
        items = std::move(merged);
        Item* const first = items.data();
        Item* const last = first + items.size();
        Item* split = first + items.size() / 2;
        while (split != last && split != first && split->next == (split - 1)->next)
            ++split;
        const std::jthread upper([&] { sorter.sortRuns(split, last, offset); });
        sorter.sortRuns(first, split, offset);
    }
    std::vector<uint32_t> positions;
    positions.reserve(items.size());
    for (const Item& item : items)
        if (!item.repeat)
            positions.push_back(item.position);
    return positions;
}
