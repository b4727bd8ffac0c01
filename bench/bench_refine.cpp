// The front picture of nine 6000 x 4000 JPEGs zoomed by the wheel to 4x,
// sixteen notches at once. The program then runs its own event loop, as
// for a user: frames are drawn when something changes, and the finer
// decode is made, arrives and goes up to the view. A timer firing every
// millisecond watches the loop. Figures: the longest gap between its
// firings until the finer picture is all up (the longest the user-interface
// thread was busy: taking the picture in, uploading, drawing a frame), and
// the time from the zoom to the end of the first frame with the finer
// picture at all the detail the frame needs, against one libjpeg-turbo
// decode of the same file, measured just before each zoom. Between zooms
// the plane goes back to 1x and its detail coarsens again.
//   bench_refine [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "carousel/ring.h"
#include "platform/error_report.h"

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
    platform::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    bench::JpegFloor floor;
    std::unique_ptr<TForm1> form;
    bench::startForm(form, {photos.nine});
    bench::waitUntil([&] { return settled(*form); });
    bench::idle(500);

    std::vector<double> longest, refined, decode;
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    for (int run = 0; run < bench::runs; ++run) {
        decode.push_back(floor.decode(photos.files[0]));
        Clock::time_point lastFiring = Clock::now(), lastFrame{}, shown{};
        double longestGap = 0;
        QTimer watch;
        watch.setTimerType(Qt::PreciseTimer);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const Clock::time_point now = Clock::now();
            longestGap = std::max(longestGap, ms(lastFiring, now));
            lastFiring = now;
        });
        const QMetaObject::Connection frames =
            QObject::connect(form->Viewport3D1, &view3d::Viewport3D::frameSwapped, [&] {
                lastFrame = Clock::now();
                if (shown == Clock::time_point{} && form->refinements().settled() && !form->Viewport3D1->uploading())
                    shown = lastFrame;
            });
        const Clock::time_point start = Clock::now();
        lastFiring = start;
        watch.start(1);
        zoomFront(*form, 120);
        // Until the finer picture is on screen and no frame has come for
        // 100 ms: its finer levels are up.
        const bool done = bench::waitUntil([&] {
            return shown != Clock::time_point{} && ms(lastFrame, Clock::now()) > 100;
        });
        watch.stop();
        QObject::disconnect(frames);
        if (!done) {
            std::fprintf(stderr, "the finer picture never showed\n");
            return 3;
        }
        longest.push_back(longestGap);
        refined.push_back(ms(start, shown));
        zoomFront(*form, -120);
        bench::waitUntil([&] { return settled(*form); });
        bench::idle(300);
    }
    bench::figure("refine_tick", longest, "ms", "the longest tick while a 4x zoom's finer picture arrives");
    bench::figure("refine_shown", refined, "ms", "wheel to 4x: zoom to the first frame with the finer picture");
    bench::figure("floor_refine", decode, "ms", "libjpeg-turbo: one decode of the front picture");
    return 0;
}
