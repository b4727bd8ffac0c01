// Soak: many thousands of mixed user actions in a real window over 1,000
// small pictures — steps (mostly with Shift), wheel zoom, the dial, the scroll
// bars and drops of alternating folders — reporting the actions done, the
// errors the viewer reported and its resident set along the way, which must
// stay flat after the warm-up.
//   bench_soak FOLDER [ACTIONS]   (default 10000; needs a display, e.g. xvfb-run)
// The pictures, FOLDER/soak/a and FOLDER/soak/b with 500 each, are made on
// first use.
#include "app/form1.h"
#include "platform/error_report.h"
#include "support/drag_drop.h"
#include "support/proc_status.h"
#include "view3d/viewport3d.h"
#include "widgets/arc_dial.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <vector>

namespace {

constexpr int picturesPerFolder = 500;
constexpr double flatWithin = 0.05;

void makePictures(const std::string& soak)
{
    const char* formats[] = {"PNG", "JPEG", "BMP"};
    const char* extensions[] = {".png", ".jpg", ".bmp"};
    for (const char* folder : {"/a", "/b"}) {
        std::filesystem::create_directories(soak + folder);
        for (int i = 0; i < picturesPerFolder; ++i) {
            QImage image(64 + i % 32, 48, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 37 % 360, 200, 220));
            const std::string name = soak + folder + "/" + std::to_string(i) + extensions[i % 3];
            image.save(QString::fromStdString(name), formats[i % 3]);
        }
    }
    std::ofstream(soak + ".complete");
}


// Lets the viewer run until a step's animation has ended and its events are done.
void settle(TForm1& form)
{
    while (form.TM_Img->isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
}

void click(QWidget* button, Qt::KeyboardModifiers modifiers)
{
    const QPointF at = QRectF(button->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(button, &release);
}

// One notch of the wheel over the front picture.
void wheel(TForm1& form, int delta)
{
    const QVector3D centre = form.imgs[form.imgFront]->worldMatrix().map(QVector3D(0, 0, 0));
    const QPointF at = form.Viewport3D1->project(centre);
    QWheelEvent event(at, form.Viewport3D1->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.Viewport3D1, &event);
}

// A drag of one folder from the desktop, entering the 3D view and dropped there.
void drop(TForm1& form, const std::string& folder)
{
    dragdrop::dragAndDrop(*form.Viewport3D1, QPoint(20, 20), *dragdrop::paths({folder}));
}

// Action number i of the soak, out of a cycle of 100: 85 steps (70 Next and
// 10 Previous with Shift, 5 plain Next), 8 wheel notches, 3 dial turns, 3
// scroll-bar moves and a drop of the other folder, or in every other cycle
// one more step. Returns what it did.
const char* act(TForm1& form, int i, const std::string& soak)
{
    const int k = i % 100, cycle = i / 100;
    const char* done = "steps";
    if (k < 70 || (k == 99 && cycle % 2 == 0)) {
        click(form.B_After, Qt::ShiftModifier);
    } else if (k < 80) {
        click(form.B_Before, Qt::ShiftModifier);
    } else if (k < 85) {
        click(form.B_After, Qt::NoModifier);
    } else if (k < 93) {
        wheel(form, k % 2 ? 120 : -120);
        done = "wheel notches";
    } else if (k < 96) {
        form.ArcDial1->setValue(cycle % 7 * 25 - 75);
        done = "dial turns";
    } else if (k < 99) {
        (k % 2 ? form.SB_H : form.SB_V)->setValue(cycle % 5 * 10 - 20);
        done = "scroll-bar moves";
    } else {
        drop(form, soak + (cycle / 2 % 2 ? "/a" : "/b"));
        done = "drops";
    }
    settle(form);
    return done;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [ACTIONS]\n", argv[0]);
        return 2;
    }
    const std::string soak = std::string(argv[1]) + "/soak";
    const int actions = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int warmUp = actions / 10, middle = actions / 2;
    platform::Application app(argc, argv);
    if (!std::filesystem::exists(soak + ".complete"))
        makePictures(soak);

    int errors = 0;
    app.setBoxAnswerer([&](const platform::BoxRequest& box) {
        ++errors;
        std::fprintf(stderr, "reported: %s\n", qPrintable(box.text));
        return platform::BoxAnswer::Ok;
    });
    TForm1 form;
    form.FormCreate({soak});
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    settle(form);

    const int pictures = form.stlf->count();
    const long atStart = procstatus::kib("VmRSS");
    std::vector<long> resident; // after each action
    std::map<std::string, int> done;
    for (int i = 0; i < actions; ++i) {
        ++done[act(form, i, soak)];
        resident.push_back(procstatus::kib("VmRSS"));
    }
    // Each figure is the mean over the actions before it that span two drops,
    // one of each folder, so that the list held and the allocator's ups and
    // downs count alike in all of them.
    auto meanBefore = [&](int mark) {
        const int from = std::max(0, mark - 400);
        return std::accumulate(resident.begin() + from, resident.begin() + mark, 0.0) / (mark - from);
    };
    const double afterWarmUp = meanBefore(warmUp), atMiddle = meanBefore(middle), atEnd = meanBefore(actions);
    auto drift = [&](double rss) { return (rss - afterWarmUp) / afterWarmUp; };
    const bool flat = std::abs(drift(atMiddle)) <= flatWithin && std::abs(drift(atEnd)) <= flatWithin;

    std::printf("pictures: %d, in %s\n", pictures, soak.c_str());
    std::printf("actions done: %d:", actions);
    for (const auto& [what, count] : done)
        std::printf(" %d %s;", count, what.c_str());
    std::printf("\n");
    std::printf("errors reported: %d\n", errors);
    std::printf("RSS at start: %.1f MiB\n", atStart / 1024.0);
    std::printf("RSS after warm-up (mean of the 400 actions up to %d): %.1f MiB\n", warmUp, afterWarmUp / 1024.0);
    std::printf("RSS in the middle (up to %d): %.1f MiB (%+.1f%%)\n", middle, atMiddle / 1024.0, 100 * drift(atMiddle));
    std::printf("RSS at the end (up to %d): %.1f MiB (%+.1f%%)\n", actions, atEnd / 1024.0, 100 * drift(atEnd));
    std::printf("flat within %.0f%% after the warm-up: %s\n", 100 * flatWithin, flat ? "yes" : "no");
    return flat && errors == 0 ? 0 : 1;
}
