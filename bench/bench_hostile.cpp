// Small hostile files (tests/hostile/declared_sizes.h: chunks, frames and
// run-length pictures declaring gigabytes) read as the ring reads a
// picture, for a 2048 side: each one's time (median of the runs) and how
// far one read raises the resident set. Prints a line per file, then the
// slowest and the most costly as figures.
//   bench_hostile [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "hostile/declared_sizes.h"
#include "image/picture_reader.h"
#include "tests/support/proc_status.h"

int main(int argc, char** argv)
{
    const std::string folder = std::string(argc > 1 ? argv[1] : "/tmp/ruk-bench") + "/hostile";
    std::filesystem::create_directories(folder);
    image::setDecoderAllocationLimit();
    std::vector<double> slowest, costliest;
    for (const hostile::Declaring& file : hostile::declaringFarMore()) {
        const std::string path = folder + "/declaring" + file.extension;
        std::ofstream(path, std::ios::binary).write(file.bytes.constData(), file.bytes.size());
        std::vector<double> times, growths;
        for (int run = 0; run < bench::runs; ++run) {
            double ms = 0;
            const long grown = procstatus::peakGrowthKib([&] { ms = bench::milliseconds([&] { image::readPicture(path, 2048); }); });
            times.push_back(ms);
            growths.push_back(double(grown) / 1024.0);
        }
        const bench::Stats time = bench::stats(times), growth = bench::stats(growths);
        std::printf("%-58s %8.2f ms %8.1f MiB\n", file.name.c_str(), time.median, growth.max);
        if (slowest.empty() || time.median > bench::stats(slowest).median)
            slowest = times;
        if (costliest.empty() || growth.median > bench::stats(costliest).median)
            costliest = growths;
    }
    bench::figure("hostile_time", slowest, "ms", "the slowest hostile file's read");
    bench::figure("hostile_peak", costliest, "MiB", "the most a hostile file's read raised the resident set");
    return 0;
}
