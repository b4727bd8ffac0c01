#include "collection/picture_list.h"
#include "collection/key_order.h"
#ifdef _WIN32
#include "toolkit/compare_win.h"
#else
#include "toolkit/locale_compare.h"
#endif
#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
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

// sortKey for paths one after another; ours reads a folder's part of its
// paths once.
#ifdef _WIN32
struct KeyMaker {
    void append(const std::string& path, std::string& keys) const { keys += sortKey(path); }
};
#else
struct KeyMaker : toolkit::LocaleCompare::KeyMaker {
    KeyMaker() : toolkit::LocaleCompare::KeyMaker(toolkit::LocaleCompare::user()) {}
};
#endif

size_t workerCount(size_t count)
{
    return count < 4096 ? 1 : std::max(1u, std::thread::hardware_concurrency());
}

// Runs work(worker, first, last) over shares of [0, count) on every core; a
// count too small to be worth threads stays on the calling thread.
template <class Work>
void onEveryCore(size_t count, const Work& work)
{
    const size_t workers = workerCount(count);
    const size_t share = (count + workers - 1) / workers;
    auto part = [&](size_t worker) {
        work(worker, std::min(count, worker * share), std::min(count, (worker + 1) * share));
    };
    std::vector<std::jthread> helpers;
    for (size_t worker = 1; worker < workers; ++worker)
        helpers.emplace_back(part, worker);
    part(0);
}

// Keys are made and sorted this many paths at a time, so that a large batch
// never holds all its keys at once.
constexpr size_t runLength = size_t(1) << 17;

// The positions [first, last) of paths sorted by key, of equal keys the
// first only.
std::vector<uint32_t> sortedRun(const PathStore& paths, uint32_t first, uint32_t last)
{
    const size_t count = last - first;
    std::vector<std::string> blocks(workerCount(count));
    std::vector<std::string_view> keys(count);
    onEveryCore(count, [&](size_t worker, size_t from, size_t to) {
        std::string& block = blocks[worker];
        std::vector<size_t> ends(to - from);
        KeyMaker key;
        std::string path;
        for (size_t i = from; i < to; ++i) {
            paths.path(first + i, path);
            key.append(path, block);
            ends[i - from] = block.size();
        }
        for (size_t i = from, start = 0; i < to; start = ends[i - from], ++i)
            keys[i] = std::string_view(block).substr(start, ends[i - from] - start);
    });
    std::vector<uint32_t> run = distinctKeyOrder(keys);
    for (uint32_t& position : run)
        position += first;
    return run;
}

// Runs of positions in key order, each read from its head with that path's
// key at hand.
class RunMerge {
public:
    RunMerge(const PathStore& paths, std::vector<std::span<const uint32_t>> runs) : paths_(paths)
    {
        for (size_t i = 0; i < runs.size(); ++i)
            if (!runs[i].empty())
                heads_.push_back(&cursors_.emplace_back(i, runs[i], paths_));
        std::make_heap(heads_.begin(), heads_.end(), after);
    }

    // The positions of all runs in key order; of equal keys only the one
    // from the earliest run.
    std::vector<uint32_t> merged()
    {
        std::vector<uint32_t> order;
        std::string last;
        while (!heads_.empty()) {
            std::pop_heap(heads_.begin(), heads_.end(), after);
            Cursor& head = *heads_.back();
            if (order.empty() || head.key != last) {
                order.push_back(head.run.front());
                std::swap(last, head.key);
            }
            head.run = head.run.subspan(1);
            if (head.run.empty()) {
                heads_.pop_back();
            } else {
                head.readKey(paths_);
                std::push_heap(heads_.begin(), heads_.end(), after);
            }
        }
        return order;
    }

private:
    struct Cursor {
        Cursor(size_t index, std::span<const uint32_t> positions, const PathStore& paths) : rank(index), run(positions)
        {
            readKey(paths);
        }
        void readKey(const PathStore& paths)
        {
            paths.path(run.front(), path);
            key.clear();
            maker.append(path, key);
        }
        size_t rank; // an earlier run wins among equal keys
        std::span<const uint32_t> run;
        std::string key, path;
        KeyMaker maker;
    };
    // The heap's order: its top is the least key of the earliest run.
    static bool after(const Cursor* a, const Cursor* b)
    {
        const int c = a->key.compare(b->key);
        return c != 0 ? c > 0 : a->rank > b->rank;
    }

    const PathStore& paths_;
    std::deque<Cursor> cursors_; // where they were made: a key maker stays put
    std::vector<Cursor*> heads_;
};

// The first position in run whose path's key is not below key.
size_t lowerBound(const PathStore& paths, std::span<const uint32_t> run, const std::string& key)
{
    std::string path;
    return size_t(std::partition_point(run.begin(), run.end(), [&](uint32_t position) {
        paths.path(position, path);
        return sortKey(path) < key;
    }) - run.begin());
}

// RunMerge's order, with the key range cut into a share per core: the cuts
// are keys of the longest run, and equal keys fall in one share.
std::vector<uint32_t> mergedRuns(const PathStore& paths, const std::vector<std::span<const uint32_t>>& runs)
{
    size_t total = 0;
    std::span<const uint32_t> longest;
    for (const auto& run : runs) {
        total += run.size();
        if (run.size() > longest.size())
            longest = run;
    }
    if (longest.size() == total) // one run: merged already
        return {longest.begin(), longest.end()};
    const size_t shares = workerCount(total);
    // cuts[s][r]: where share s begins in run r.
    std::vector<std::vector<size_t>> cuts(shares + 1);
    cuts.front().assign(runs.size(), 0);
    for (size_t share = 1; share < shares; ++share) {
        const std::string key = sortKey(paths.path(longest[longest.size() * share / shares]));
        for (const auto& run : runs)
            cuts[share].push_back(lowerBound(paths, run, key));
    }
    for (const auto& run : runs)
        cuts.back().push_back(run.size());
    std::vector<std::vector<uint32_t>> orders(shares);
    onEveryCore(shares, [&](size_t, size_t from, size_t to) {
        for (size_t share = from; share < to; ++share) {
            std::vector<std::span<const uint32_t>> parts;
            for (size_t r = 0; r < runs.size(); ++r)
                parts.push_back(runs[r].subspan(cuts[share][r], cuts[share + 1][r] - cuts[share][r]));
            orders[share] = RunMerge(paths, std::move(parts)).merged();
        }
    });
    std::vector<uint32_t> order;
    for (std::vector<uint32_t>& part : orders) {
        order.insert(order.end(), part.begin(), part.end());
        part = {};
    }
    return order;
}

}

bool PictureList::add(const std::string& path)
{
    const std::string key = sortKey(path);
    size_t low = 0, high = paths_.size();
    std::string other;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        paths_.path(middle, other);
        const int c = sortKey(other).compare(key);
        if (c == 0)
            return false;
        if (c < 0)
            low = middle + 1;
        else
            high = middle;
    }
    paths_.insert(low, path);
    return true;
}

// The list's paths and the batch's, one store: the list's, sorted, form the
// first run; the batch's are sorted a run at a time, and all runs merge.
void PictureList::addBatch(PathStore paths)
{
    const size_t listed = paths_.size();
    paths_.append(std::move(paths));
    std::vector<std::vector<uint32_t>> sorted;
    for (size_t first = listed; first < paths_.size(); first += runLength)
        sorted.push_back(sortedRun(paths_, uint32_t(first), uint32_t(std::min(paths_.size(), first + runLength))));
    std::vector<uint32_t> list(listed);
    for (uint32_t i = 0; i < listed; ++i)
        list[i] = i;
    std::vector<std::span<const uint32_t>> runs{list};
    runs.insert(runs.end(), sorted.begin(), sorted.end());
    paths_.keep(mergedRuns(paths_, runs));
}

void PictureList::addBatch(const std::vector<std::string>& paths)
{
    PathStore batch;
    for (const std::string& path : paths)
        batch.add(path);
    addBatch(std::move(batch));
}

void PictureList::clear()
{
    paths_.clear();
}

int PictureList::count() const { return int(paths_.size()); }

std::string PictureList::at(int i) const { return paths_.path(size_t(i)); }
