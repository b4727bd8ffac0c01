#include "collection/picture_list.h"
#include "collection/key_order.h"
#ifdef _WIN32
#include "order/compare_win.h"
#else
#include "order/locale_compare.h"
#endif
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <thread>

namespace {

// A byte string whose plain byte order is the user locale's name order: on
// Windows the platform's own, elsewhere ours, which reproduces it.
std::string sortKey(const std::string& path)
{
#ifdef _WIN32
    return order::nameSortKey(path);
#else
    return order::LocaleCompare::user().sortKey(path);
#endif
}

// sortKey for the paths of a batch; ours reads a folder's part of its
// paths once.
#ifdef _WIN32
struct KeyMaker {
    void append(const std::string& path, std::string& keys) const { keys += sortKey(path); }
};
#else
struct KeyMaker : order::LocaleCompare::KeyMaker {
    KeyMaker() : order::LocaleCompare::KeyMaker(order::LocaleCompare::user()) {}
};
#endif

constexpr auto keyLess = [](const auto& a, const auto& b) { return a.key < b.key; };

// Runs work(first, last) over shares of [0, count) on every core; a count
// too small to be worth threads stays on the calling thread.
template <class Work>
void onEveryCore(size_t count, const Work& work)
{
    const size_t workers = count < 4096 ? 1 : std::max(1u, std::thread::hardware_concurrency());
    const size_t share = (count + workers - 1) / workers;
    auto part = [&](size_t worker) { work(std::min(count, worker * share), std::min(count, (worker + 1) * share)); };
    std::vector<std::jthread> helpers;
    for (size_t worker = 1; worker < workers; ++worker)
        helpers.emplace_back(part, worker);
    part(0);
}

// The keys of paths: for a large scan they are most of the work after the
// walk. Each core writes its share into a block of its own, added to blocks.
std::vector<std::string_view> sortKeys(const std::vector<std::string>& paths, std::vector<std::shared_ptr<const std::string>>& blocks)
{
    std::vector<std::string_view> keys(paths.size());
    std::mutex adding;
    onEveryCore(paths.size(), [&](size_t first, size_t last) {
        auto block = std::make_shared<std::string>();
        size_t bytes = 0;
        for (size_t i = first; i < last; ++i)
            bytes += 2 * paths[i].size() + 16;
        // Most keys need less; the pages the block never reaches cost no memory.
        block->reserve(bytes);
        std::vector<size_t> ends(last - first);
        KeyMaker key;
        for (size_t i = first; i < last; ++i) {
            key.append(paths[i], *block);
            ends[i - first] = block->size();
        }
        for (size_t i = first, start = 0; i < last; start = ends[i - first], ++i)
            keys[i] = std::string_view(*block).substr(start, ends[i - first] - start);
        const std::lock_guard lock(adding);
        blocks.push_back(std::move(block));
    });
    return keys;
}

}

bool PictureList::add(const std::string& path)
{
    auto block = std::make_shared<const std::string>(sortKey(path));
    Entry entry{*block, path};
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), entry, keyLess);
    if (at != entries_.end() && at->key == entry.key)
        return false;
    entries_.insert(at, std::move(entry));
    keyBlocks_.push_back(std::move(block));
    return true;
}

// Sorts positions rather than entries, which moves far less memory; of
// equal paths the one given first is kept. Each core moves the paths of a
// share of the positions to their places in key order: reading in order
// and writing anywhere costs less than the other way round.
std::vector<PictureList::Entry> PictureList::sortedBatch(std::vector<std::string>& paths, std::vector<KeyBlock>& blocks)
{
    const std::vector<std::string_view> keys = sortKeys(paths, blocks);
    const std::vector<uint32_t> kept = distinctKeyOrder(keys);
    constexpr uint32_t dropped = ~0u;
    std::vector<uint32_t> place(paths.size(), dropped);
    for (uint32_t i = 0; i < kept.size(); ++i)
        place[kept[i]] = i;
    std::vector<Entry> batch(kept.size());
    onEveryCore(paths.size(), [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            if (place[i] != dropped)
                batch[place[i]] = {keys[i], std::move(paths[i])};
    });
    return batch;
}

void PictureList::addBatch(std::vector<std::string> paths)
{
    std::vector<Entry> batch = sortedBatch(paths, keyBlocks_);
    paths = {};
    if (entries_.empty()) {
        entries_ = std::move(batch);
        return;
    }
    std::vector<Entry> merged;
    merged.reserve(entries_.size() + batch.size());
    auto old = entries_.begin(), added = batch.begin();
    while (old != entries_.end() && added != batch.end()) {
        if (keyLess(*added, *old)) {
            merged.push_back(std::move(*added++));
        } else {
            if (!keyLess(*old, *added))
                ++added; // equal: the entry already present wins
            merged.push_back(std::move(*old++));
        }
    }
    std::move(old, entries_.end(), std::back_inserter(merged));
    std::move(added, batch.end(), std::back_inserter(merged));
    entries_ = std::move(merged);
}

void PictureList::clear()
{
    entries_.clear();
    keyBlocks_.clear();
}

int PictureList::count() const { return int(entries_.size()); }

const std::string& PictureList::at(int i) const { return entries_[i].path; }
