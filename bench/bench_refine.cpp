// The front picture of nine 6000 x 4000 JPEGs zoomed by the wheel to 4x:
// the view goes on drawing a frame every 10 ms, as a step's ticks do, while
// the finer decode is made and its picture arrives and goes up to the view.
// Figures: the longest task of the user-interface thread in each zoom
// (handling what is pending, which takes the finer picture in and may draw
// a frame; drawing and showing a frame), and the time from the zoom to the end of
// the first frame with the finer picture, against one libjpeg-turbo decode
// of the same file, measured just before each zoom. Between zooms the plane
// goes back to 1x and its detail coarsens again.
//   bench_refine [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "carousel/ring.h"
#include "toolkit/error_report.h"
#include <thread>

namespace {

bool settled(const TForm1& form)
{
    return form.refinements().settled() && form.decodesAhead().settled();
}

void zoomFront(TForm1& form, int delta)
{
    for (int i = 0; i < 16; ++i)
        form.Image3D_MouseWheel(*form.imgs[form.imgFront], delta);
}

}

int main(int argc, char** argv)
{
    toolkit::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    bench::JpegFloor floor;
    std::unique_ptr<TForm1> form;
    bench::startForm(form, {photos.nine});
    bench::waitUntil([&] { return settled(*form); });
    bench::idle(500);

    std::vector<double> longest, refined, decode;
    for (int run = 0; run < bench::runs; ++run) {
        decode.push_back(floor.decode(photos.files[0]));
        const auto start = std::chrono::steady_clock::now();
        zoomFront(*form, 120);
        double longestTick = 0;
        int framesAfter = -1; // frames drawn since the finer picture arrived
        while (framesAfter < 12) {
            const auto tickStart = std::chrono::steady_clock::now();
            const bool arrived = form->refinements().settled();
            QCoreApplication::processEvents();
            const auto drawStart = std::chrono::steady_clock::now();
            form->Viewport3D1->drawNow();
            const auto tickEnd = std::chrono::steady_clock::now();
            const auto ms = [](auto from, auto to) { return std::chrono::duration<double, std::milli>(to - from).count(); };
            longestTick = std::max({longestTick, ms(tickStart, drawStart), ms(drawStart, tickEnd)});
            if (arrived && framesAfter++ < 0)
                refined.push_back(ms(start, tickEnd));
            std::this_thread::sleep_until(tickStart + std::chrono::milliseconds(10));
        }
        longest.push_back(longestTick);
        zoomFront(*form, -120);
        bench::waitUntil([&] { return settled(*form); });
        form->Viewport3D1->drawNow();
        bench::idle(300);
    }
    bench::figure("refine_tick", longest, "ms", "the longest tick while a 4x zoom's finer picture arrives");
    bench::figure("refine_shown", refined, "ms", "wheel to 4x: zoom to the first frame with the finer picture");
    bench::figure("floor_refine", decode, "ms", "libjpeg-turbo: one decode of the front picture");
    return 0;
}
