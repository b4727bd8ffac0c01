// One Next step that brings a 6000 x 4000 JPEG into view, in a folder of
// twelve: from the click to the end of the first animation tick, whose
// frame shows the ring at its first new angle. Before each click the window
// idles as long as a user looking at the ring would, so the decode made
// ahead has finished. Also the handler alone. Its floor: libjpeg-turbo
// decoding the file coming into view, measured just before each click.
//   bench_step [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "carousel/ring.h"
#include "platform/error_report.h"
#include "widgets/push_button.h"
#include <QTimer>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    bench::JpegFloor floor;
    std::unique_ptr<TForm1> form;
    bench::startForm(form, {photos.twelve});

    std::chrono::steady_clock::time_point ticked{};
    QObject::connect(form->TM_Img, &QTimer::timeout, form.get(), [&] {
        if (ticked == std::chrono::steady_clock::time_point{})
            ticked = std::chrono::steady_clock::now();
    });
    std::vector<double> toTick, handler, decode;
    for (int run = 0; run < bench::runs; ++run) {
        bench::idle(1500);
        const std::string& coming
            = photos.files[ring::stepLoad(form->imgFront, form->imgNumber, +1, int(photos.files.size())).entry];
        decode.push_back(floor.decode(coming));
        ticked = {};
        const auto click = std::chrono::steady_clock::now();
        form->B_AfterClick(Qt::NoModifier);
        handler.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - click).count());
        bench::waitUntil([&] { return ticked != std::chrono::steady_clock::time_point{}; });
        toTick.push_back(std::chrono::duration<double, std::milli>(ticked - click).count());
        bench::waitUntil([&] { return form->B_After->isEnabled(); });
    }
    bench::figure("step", toTick, "ms", "Next step, click to the end of the first animation tick");
    bench::figure("step_handler", handler, "ms", "Next step, the click handler alone");
    bench::figure("floor_one", decode, "ms", "libjpeg-turbo: one decode of the file coming into view");
    return 0;
}
