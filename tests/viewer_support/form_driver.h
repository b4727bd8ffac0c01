#pragma once
// Starts the main window on an argument list the way the program does, and
// reads what it shows.
#include "app/form1.h"
#include "image/picture_reader.h"
#include "platform/error_report.h"
#include "support/frame_probe.h"
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <memory>

namespace driver {

// Runs form's creation handler on arguments as the program does, shows it
// and waits until it is exposed and its 3D view has drawn a frame.
void start(TForm1& form, const std::vector<std::string>& arguments);
// A new main window, started on arguments.
std::unique_ptr<TForm1> startForm(const std::vector<std::string>& arguments);

// The 3D view's current frame, drawn anew.
QImage frame(TForm1& form);

// Where the centre of slot's plane lands in the 3D view (logical pixels).
QPoint slotCentre(TForm1& form, int slot);

// Where the point (x, y) of slot's plane, in the plane's own units from its
// centre, lands in the 3D view (logical pixels).
QPointF onScreen(TForm1& form, int slot, float x, float y);

// Sends a wheel turn of delta over the 3D view at a logical position.
void wheel(TForm1& form, QPoint at, int delta, Qt::ScrollPhase phase = Qt::NoScrollPhase);
// The slots whose plane is zoomed.
QList<int> zoomed(const TForm1& form);
// Every plane back at its size unzoomed.
void resetZoom(TForm1& form);

// Waits for the step animation to end (the buttons are enabled again).
void waitForStepEnd(TForm1& form);

// Whether the progress window of a start-up or a drop is on the screen.
bool progressWindowOpen();

}

// A test program's main: the viewer's own application object (with its error
// report) and the decoder's limit as the program sets them, then the test
// class.
#define VIEWER_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        platform::Application app(argc, argv);                                                      \
        image::setDecoderAllocationLimit();                                                      \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
