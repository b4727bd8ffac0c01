// One frame of the ring at the window's first size (a 616 x 600 view) with
// nine 6000 x 4000 mipmapped pictures: the ring turns by 4 degrees, as on an
// animation tick, and is drawn again as soon as the last frame is on the
// screen; each figure is the time from one frame's end to the next one's.
// A step's ticks come every 10 ms, so a frame must take at most that for
// each one to be drawn.
//   bench_frame [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "toolkit/error_report.h"

int main(int argc, char** argv)
{
    toolkit::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    std::unique_ptr<TForm1> form;
    bench::startForm(form, {photos.nine});
    bench::idle(1000);

    std::vector<double> frames;
    auto last = std::chrono::steady_clock::now();
    const int wanted = 20 * bench::runs;
    QObject::connect(form->Viewport3D1, &QOpenGLWidget::frameSwapped, form.get(), [&] {
        const auto now = std::chrono::steady_clock::now();
        frames.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
        if (int(frames.size()) > wanted)
            return;
        const toolkit::Vec3 turn = form->dm_round->rotation();
        form->dm_round->setRotation({turn.x, std::fmod(turn.y + 4.0f, 360.0f), turn.z});
    });
    form->dm_round->setRotation({0, 4, 0});
    bench::waitUntil([&] { return int(frames.size()) > wanted; });
    frames.erase(frames.begin()); // from before the first request
    std::printf("view: %d x %d\n", form->Viewport3D1->width(), form->Viewport3D1->height());
    bench::figure("frame", frames, "ms", "one frame of the ring, nine 6000x4000 mipmapped pictures");
    return 0;
}
