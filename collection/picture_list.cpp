#include "collection/picture_list.h"
#include "collection/key_order.h"
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <numeric>
#include <span>
#include <thread>

namespace {

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

// Keys are made and sorted a bucket of about this many paths at a time, so
// that a large batch never holds all its keys at once.
constexpr size_t bucketSize = size_t(1) << 16;

// The keys of paths at positions, made into a block that keeps its memory
// from call to call.
class KeyBlock {
public:
    explicit KeyBlock(const order::NameOrder& nameOrder) : maker_(nameOrder) {}
    const std::vector<std::string_view>& of(const PathStore& paths, std::span<const uint32_t> positions)
    {
        bytes_.clear();
        ends_.clear();
        for (const uint32_t position : positions) {
            paths.path(position, path_);
            maker_.append(path_, bytes_);
            ends_.push_back(bytes_.size());
        }
        // Only now, with the block grown to its size, can views into it stay.
        keys_.resize(positions.size());
        for (size_t i = 0, start = 0; i < positions.size(); start = ends_[i++])
            keys_[i] = std::string_view(bytes_).substr(start, ends_[i] - start);
        return keys_;
    }

private:
    order::NameOrder::KeyMaker maker_;
    std::string path_, bytes_;
    std::vector<size_t> ends_;
    std::vector<std::string_view> keys_;
};

// Keys that cut the key range into buckets of about bucketSize paths each,
// from a sample of evenly spaced paths.
std::vector<std::string> bucketCuts(const PathStore& paths, const order::NameOrder& nameOrder)
{
    constexpr size_t samplesPerBucket = 16;
    const size_t buckets = (paths.size() + bucketSize - 1) / bucketSize;
    if (buckets < 2)
        return {};
    std::vector<std::string> sample;
    for (size_t i = 0; i < buckets * samplesPerBucket; ++i)
        sample.push_back(nameOrder.sortKey(paths.path(i * paths.size() / (buckets * samplesPerBucket))));
    std::sort(sample.begin(), sample.end());
    std::vector<std::string> cuts;
    for (size_t bucket = 1; bucket < buckets; ++bucket)
        cuts.push_back(std::move(sample[bucket * samplesPerBucket]));
    return cuts;
}

// Each path's bucket: the number of cuts at or below its key.
std::vector<uint16_t> buckets(const PathStore& paths, const std::vector<std::string>& cuts,
                              const order::NameOrder& nameOrder)
{
    std::vector<uint16_t> bucketOf(paths.size());
    if (cuts.empty()) // one bucket needs no keys here
        return bucketOf;
    onEveryCore(paths.size(), [&](size_t, size_t first, size_t last) {
        order::NameOrder::KeyMaker maker(nameOrder);
        std::string path, key;
        for (size_t i = first; i < last; ++i) {
            paths.path(i, path);
            key.clear();
            maker.append(path, key);
            bucketOf[i] = uint16_t(std::upper_bound(cuts.begin(), cuts.end(), key) - cuts.begin());
        }
    });
    return bucketOf;
}

// The positions of paths in key order, of equal keys the first only. The
// key range is cut into buckets, each path put in its bucket by its key,
// and then each bucket sorted on its own with its keys made again: two
// keys a path, yet never more than a bucket's held at once. Equal keys
// share a bucket, and the buckets follow one another in key order.
std::vector<uint32_t> distinctOrder(const PathStore& paths, const order::NameOrder& nameOrder)
{
    const std::vector<std::string> cuts = bucketCuts(paths, nameOrder);
    std::vector<uint16_t> bucketOf = buckets(paths, cuts, nameOrder);
    // Each bucket's positions in their order, the buckets one after another.
    std::vector<size_t> starts(cuts.size() + 3);
    for (const uint16_t bucket : bucketOf)
        ++starts[bucket + 2];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<uint32_t> byBucket(paths.size());
    for (uint32_t i = 0; i < bucketOf.size(); ++i)
        byBucket[starts[bucketOf[i] + 1]++] = i;
    bucketOf = {};
    // The buckets shared out among the cores, each core sorting one at a time.
    std::vector<std::vector<uint32_t>> sorted(cuts.size() + 1);
    onEveryCore(paths.size(), [&](size_t worker, size_t, size_t) {
        KeyBlock keys(nameOrder);
        for (size_t bucket = worker; bucket < sorted.size(); bucket += workerCount(paths.size())) {
            const std::span<const uint32_t> positions(byBucket.data() + starts[bucket], starts[bucket + 1] - starts[bucket]);
            for (const uint32_t i : distinctKeyOrder(keys.of(paths, positions)))
                sorted[bucket].push_back(positions[i]);
        }
    });
    std::vector<uint32_t> order;
    order.reserve(paths.size());
    for (std::vector<uint32_t>& bucket : sorted) {
        order.insert(order.end(), bucket.begin(), bucket.end());
        bucket = {};
    }
    return order;
}

}

bool PictureList::add(const std::string& path)
{
    const std::string key = order_->sortKey(path);
    size_t low = 0, high = paths_.size();
    std::string other;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        paths_.path(middle, other);
        const int c = order_->sortKey(other).compare(key);
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

// The list's paths come before the batch's in one store, so that of equal
// paths one already listed is kept, and the whole is sorted again.
void PictureList::addBatch(PathStore paths)
{
    paths_.append(std::move(paths));
    paths_.keep(distinctOrder(paths_, *order_));
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

std::string PictureList::at(int i) const
{
    assert(i >= 0 && i < count());
    return paths_.path(size_t(i));
}
