// Resident memory (VmRSS) after loading a folder of nine 6000 x 4000 JPEGs
// and idling until loading is done, against the bytes of their textures
// (every mipmap level) plus the resident memory of the window with an empty
// ring. Also with the folder of twelve, where the two pictures the next step
// either way will load are held decoded ahead, and with nine 12000 x 8000. Each figure comes from a
// process of its own, this program run again with --measure.
//   bench_memory [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "platform/error_report.h"
#include "tests/support/proc_status.h"
#include <QProcess>

// The bytes of a mipmapped RGBA8 texture of width x height.
static double textureBytes(int width, int height)
{
    double bytes = 0;
    for (;; width = std::max(1, width / 2), height = std::max(1, height / 2)) {
        bytes += 4.0 * width * height;
        if (width == 1 && height == 1)
            return bytes;
    }
}

// The resident MiB of this program run with --measure and arguments.
static double measured(const char* self, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromLocal8Bit(self), QStringList{"--measure"} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        std::fprintf(stderr, "measuring %s failed\n", qPrintable(arguments.join(' ')));
        std::_Exit(4);
    }
    return process.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

// root/big: nine 12000 x 8000 JPEGs, the photos enlarged, made on first use.
static std::string bigPhotos(const std::string& root)
{
    std::string folder = root + "/big";
    if (std::filesystem::exists(root + "/big.complete"))
        return folder;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 9; ++i) {
        const std::string path = folder + "/IMG_" + std::to_string(1000 + i) + ".jpg";
        std::fprintf(stderr, "making %s\n", path.c_str());
        bench::photo(i + 1).scaled(12000, 8000).save(QString::fromStdString(path), "JPEG", 90);
    }
    std::ofstream complete(root + "/big.complete");
    return folder;
}

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--measure") {
        std::unique_ptr<TForm1> form;
        bench::startForm(form, std::vector<std::string>(argv + 2, argv + argc));
        bench::idle(3000);
        std::printf("%ld\n", procstatus::kib("VmRSS"));
        return 0;
    }
    const std::string root = argc > 1 ? argv[1] : "/tmp/ruk-bench";
    const bench::Photos photos = bench::photos(root);
    const std::string big = bigPhotos(root);
    std::vector<double> empty, loaded, twelve, large;
    for (int run = 0; run < 5; ++run) {
        empty.push_back(measured(argv[0], {}));
        loaded.push_back(measured(argv[0], {QString::fromStdString(photos.nine)}));
        twelve.push_back(measured(argv[0], {QString::fromStdString(photos.twelve)}));
        large.push_back(measured(argv[0], {QString::fromStdString(big)}));
    }
    const double textures = 9 * textureBytes(6000, 4000) / (1 << 20);
    bench::figure("memory_empty", empty, "MiB", "resident, window with an empty ring");
    bench::figure("memory_loaded", loaded, "MiB", "resident after loading nine 6000x4000 JPEGs");
    bench::figure("memory_twelve", twelve, "MiB", "resident after loading twelve, two decoded ahead");
    bench::figure("memory_big", large, "MiB", "resident after loading nine 12000x8000 JPEGs");
    bench::figure("memory_textures", {textures}, "MiB", "bytes of the nine textures, mipmap levels included");
    return 0;
}
