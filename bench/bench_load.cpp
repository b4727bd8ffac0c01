// Start-up on a folder of nine 6000 x 4000 JPEGs: from the creation of the
// main window to the end of its first frame, which shows all nine pictures.
// Its floor: libjpeg-turbo decoding the same nine files one after the
// other. The runs of the two alternate, so that the machine's other load
// falls on both alike; the first start-up, on memory the process has never
// touched, is reported on its own.
//   bench_load [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "platform/error_report.h"

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    const std::vector<std::string> nine(photos.files.begin(), photos.files.begin() + 9);
    bench::JpegFloor floor;

    std::vector<double> first, startup, sequential;
    for (int run = 0; run <= bench::runs; ++run) {
        std::unique_ptr<TForm1> form;
        const double ms = bench::startForm(form, {photos.nine});
        (run == 0 ? first : startup).push_back(ms);
        form.reset();
        bench::idle(200);
        sequential.push_back(floor.decodeAll(nine));
    }
    bench::figure("startup_first", first, "ms", "first start-up in a fresh process");
    bench::figure("startup", startup, "ms", "start-up to the first frame, folder of nine 6000x4000 JPEGs");
    bench::figure("floor_nine", sequential, "ms", "libjpeg-turbo: the nine decoded one after the other");
    return 0;
}
