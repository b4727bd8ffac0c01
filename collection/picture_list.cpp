#include "collection/picture_list.h"
#ifdef _WIN32
#include "toolkit/compare_win.h"
#else
#include "toolkit/locale_compare.h"
#endif
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <thread>

namespace {

// A byte string whose plain byte order is the user locale's name order: on
// Windows the platform's own, elsewhere ours, which reproduces it.
std::string sortKey(const std::string& path)
{
#ifdef _WIN32
    return toolkit::nameSortKey(path);
#else
    return toolkit::LocaleCompare::user().sortKey(path);
#endif
}

constexpr auto keyLess = [](const auto& a, const auto& b) { return a.key < b.key; };

// The keys of paths, built on every core: for a large scan they are most of
// the work after the walk. Small batches stay on the calling thread.
std::vector<std::string> sortKeys(const std::vector<std::string>& paths)
{
    std::vector<std::string> keys(paths.size());
    const size_t workers = paths.size() < 4096 ? 1 : std::max(1u, std::thread::hardware_concurrency());
    const size_t share = (paths.size() + workers - 1) / workers;
    auto build = [&](size_t worker) {
        for (size_t i = worker * share; i < std::min(paths.size(), (worker + 1) * share); ++i)
            keys[i] = sortKey(paths[i]);
    };
    {
        std::vector<std::jthread> helpers;
        for (size_t worker = 1; worker < workers; ++worker)
            helpers.emplace_back(build, worker);
        build(0);
    }
    return keys;
}

// The positions of keys in key order, ties by position: the two halves sort
// on two threads and then merge, which keeps the earlier of equal keys first.
std::vector<uint32_t> keyOrder(const std::vector<std::string>& keys)
{
    std::vector<uint32_t> positions(keys.size());
    std::iota(positions.begin(), positions.end(), 0);
    const auto before = [&](uint32_t a, uint32_t b) {
        const int c = keys[a].compare(keys[b]);
        return c < 0 || (c == 0 && a < b);
    };
    if (keys.size() < 4096 || std::thread::hardware_concurrency() < 2) {
        std::sort(positions.begin(), positions.end(), before);
        return positions;
    }
    const auto middle = positions.begin() + std::ptrdiff_t(positions.size() / 2);
    {
        const std::jthread lower([&] { std::sort(positions.begin(), middle, before); });
        std::sort(middle, positions.end(), before);
    }
    std::vector<uint32_t> merged(positions.size());
    std::merge(positions.begin(), middle, middle, positions.end(), merged.begin(), before);
    return merged;
}

}

bool PictureList::add(const std::string& path)
{
    Entry entry{sortKey(path), path};
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), entry, keyLess);
    if (at != entries_.end() && at->key == entry.key)
        return false;
    entries_.insert(at, std::move(entry));
    return true;
}

// Sorts positions rather than entries, which moves far less memory; ties go
// by position, so that of equal paths the one given first is kept.
std::vector<PictureList::Entry> PictureList::sortedBatch(std::vector<std::string>& paths)
{
    std::vector<std::string> keys = sortKeys(paths);
    const std::vector<uint32_t> positions = keyOrder(keys);
    std::vector<Entry> batch;
    batch.reserve(paths.size());
    for (uint32_t i : positions)
        if (batch.empty() || batch.back().key != keys[i])
            batch.push_back({std::move(keys[i]), std::move(paths[i])});
    return batch;
}

void PictureList::addBatch(std::vector<std::string> paths)
{
    std::vector<Entry> batch = sortedBatch(paths);
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

void PictureList::clear() { entries_.clear(); }

int PictureList::count() const { return int(entries_.size()); }

const std::string& PictureList::at(int i) const { return entries_[i].path; }
