// One frame of the ring at the window's first size (a 616 x 600 view) with
// nine 6000 x 4000 mipmapped pictures, drawn as an animation tick draws it:
// the ring turns by 4 degrees and the view repaints at once, through the
// window's composition to the screen; each figure is the time that takes.
// A step's ticks come every 10 ms, so a frame must take at most that for
// each one to be drawn. The frames follow one another without a pause, and
// the first turn of the ring is left out: it brings each plane to the
// places of the others once.
//   bench_frame [DATA_FOLDER]   (default /tmp/ruk-bench)
#include "bench/bench_support.h"
#include "platform/error_report.h"

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    const bench::Photos photos = bench::photos(argc > 1 ? argv[1] : "/tmp/ruk-bench");
    std::unique_ptr<TForm1> form;
    bench::startForm(form, {photos.nine});
    bench::idle(1000);

    int swapped = 0;
    QObject::connect(form->Viewport3D1, &view3d::Viewport3D::frameSwapped, form.get(), [&] { ++swapped; });
    auto turn = [&] {
        const view3d::Vec3 r = form->dm_round->rotation();
        form->dm_round->setRotation({r.x, std::fmod(r.y + 4.0f, 360.0f), r.z});
        form->Viewport3D1->drawNow();
    };
    for (int i = 0; i < 90; ++i)
        turn();
    std::vector<double> frames;
    frames.reserve(size_t(20) * bench::runs);
    const int before = swapped;
    for (int i = 0; i < 20 * bench::runs; ++i)
        frames.push_back(bench::milliseconds(turn));
    if (swapped - before != int(frames.size())) {
        std::fprintf(stderr, "%d frames reached the screen of %zu drawn\n", swapped - before, frames.size());
        return 3;
    }
    std::printf("view: %d x %d\n", form->Viewport3D1->width(), form->Viewport3D1->height());
    bench::figure("frame", frames, "ms", "one frame of the ring, nine 6000x4000 mipmapped pictures");
    return 0;
}
