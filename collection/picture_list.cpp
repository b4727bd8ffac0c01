#include "collection/picture_list.h"
#include "collection/key_order.h"
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

// Byte strings whose plain byte order is the user locale's name order: on
// Windows the platform's own, elsewhere ours, which reproduces it and
// reads a folder's part of its paths once.
#ifdef _WIN32
std::string sortKey(const std::string& path)
{
    return toolkit::nameSortKey(path);
}

struct KeyMaker {
    std::string operator()(const std::string& path) const { return sortKey(path); }
};
#else
std::string sortKey(const std::string& path)
{
    return toolkit::LocaleCompare::user().sortKey(path);
}

struct KeyMaker : toolkit::LocaleCompare::KeyMaker {
    KeyMaker() : toolkit::LocaleCompare::KeyMaker(toolkit::LocaleCompare::user()) {}
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
// walk.
std::vector<std::string> sortKeys(const std::vector<std::string>& paths)
{
    std::vector<std::string> keys(paths.size());
    onEveryCore(paths.size(), [&](size_t first, size_t last) {
        KeyMaker key;
        for (size_t i = first; i < last; ++i)
            keys[i] = key(paths[i]);
    });
    return keys;
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
// by position, so that of equal paths the one given first is kept. Entries
// are taken in key order, from anywhere in memory: on every core.
std::vector<PictureList::Entry> PictureList::sortedBatch(std::vector<std::string>& paths)
{
    std::vector<std::string> keys = sortKeys(paths);
    const std::vector<uint32_t> order = keyOrder(keys);
    std::vector<char> repeats(order.size()); // an equal key stands just before
    onEveryCore(order.size(), [&](size_t first, size_t last) {
        for (size_t i = std::max<size_t>(first, 1); i < last; ++i)
            repeats[i] = keys[order[i]] == keys[order[i - 1]];
    });
    std::vector<uint32_t> kept;
    kept.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        if (!repeats[i])
            kept.push_back(order[i]);
    std::vector<Entry> batch(kept.size());
    onEveryCore(kept.size(), [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            batch[i] = {std::move(keys[kept[i]]), std::move(paths[kept[i]])};
    });
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
