// Scanning a large tree into the sorted picture list, against two floors
// measured in the same run: a plain walk with a bytewise sort, and find(1).
// Medians of 5 warm runs.
//   bench_scan FOLDER [N]   (N pictures, default 100000)
// The tree is bench::pictureTree's.
#include "bench/picture_tree.h"
#include "collection/file_tests.h"
#include "collection/folder_scan.h"
#include "collection/picture_list.h"
#include "tests/support/proc_status.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int runs = 5;

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// The floor: what any scan into a sorted list must at least do.
void plainWalk(std::string& path, std::vector<std::string>& found)
{
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return;
    const size_t length = path.size();
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        path.resize(length);
        path += '/';
        path += entry->d_name;
        if (entry->d_type == DT_DIR)
            plainWalk(path, found);
        else if (isPictureFileName(entry->d_name))
            found.push_back(path);
    }
    path.resize(length);
    closedir(dir);
}


// One line for run.sh, in milliseconds: key, median, min, max, unit, description.
void figure(const char* key, const std::vector<double>& times, const char* description)
{
    const auto [low, high] = std::minmax_element(times.begin(), times.end());
    std::printf("figure %s %.1f %.1f %.1f ms %s\n", key, 1000 * median(times), 1000 * *low, 1000 * *high, description);
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [N]\n", argv[0]);
        return 2;
    }
    const int pictures = argc > 2 ? std::atoi(argv[2]) : 100000;
    const std::string tree = bench::pictureTree(argv[1], pictures);

    int listed = 0;
    const order::NameOrder nameOrder = order::userNameOrder();
    auto scanAndList = [&] {
        PictureList list(nameOrder);
        list.addBatch(scanFolder(tree));
        listed = list.count();
    };
    auto plainWalkAndSort = [&] {
        std::string path = tree;
        std::vector<std::string> found;
        plainWalk(path, found);
        std::sort(found.begin(), found.end());
    };
    const std::string find = "find '" + tree + "' -type f | wc -l > /dev/null";

    scanAndList(); // warms the caches; its peak is the one reported
    const long peak = procstatus::kib("VmHWM");
    // Runs interleaved, so that the machine's changing load falls on all
    // figures alike.
    std::vector<double> ours, scanOnly, plain, findTimes;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(seconds(scanAndList));
        scanOnly.push_back(seconds([&] { scanFolder(tree); }));
        plain.push_back(seconds(plainWalkAndSort));
        findTimes.push_back(seconds([&] { std::system(find.c_str()); }));
    }
    const double scanAndSort = median(ours);

    std::printf("tree: %s, %d pictures listed\n", tree.c_str(), listed);
    std::printf("scan + sorted list (scanFolder + PictureList::addBatch): %.3f s\n", scanAndSort);
    std::printf("  of which scanFolder: %.3f s\n", median(scanOnly));
    std::printf("peak RSS (VmHWM) of scan + sorted list: %.1f MiB\n", peak / 1024.0);
    std::printf("floor, plain walk + bytewise sort: %.3f s\n", median(plain));
    std::printf("floor, find -type f | wc -l: %.3f s\n", median(findTimes));
    std::printf("ratio to the plain floor: %.2f\n", scanAndSort / median(plain));
    figure("scan_sort", ours, "scan + sorted list");
    figure("floor_scan_sort", plain, "plain walk + bytewise sort");
    return listed == pictures ? 0 : 1;
}
