// Flicks: the decision on a flick message, and touch swipes over the main
// window that stand in for flicks here: which swipes step the ring, and that
// taps, mouse drags and the controls under the finger work as before.
#include "app/flick.h"
#include "platform/error_report.h"
#include "platform/swipe_filter.h"
#include "support/fixtures.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/arc_dial.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include "widgets/text_label.h"
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int pictures = 5;
constexpr int none = -1; // no swipe reported

// Where a swipe starts: a widget of the main window.
enum class Over { View, Label, Column, Previous, Next };

QWidget* widgetOf(TForm1& form, Over over)
{
    switch (over) {
    case Over::View:
        return form.Viewport3D1;
    case Over::Label:
        return form.Label1;
    case Over::Column:
        return form.Panel1;
    case Over::Previous:
        return form.B_Before;
    case Over::Next:
        return form.B_After;
    }
    return nullptr;
}

// The directions the window's swipe recogniser reports.
class SwipeLog : public QObject {
public:
    explicit SwipeLog(TForm1& form)
    {
        auto* filter = form.findChild<platform::SwipeFilter*>();
        if (!filter)
            qFatal("the main window has no swipe filter");
        connect(filter, &platform::SwipeFilter::swiped, this, [this](int direction) { directions << direction; });
    }
    QList<int> directions;
};

}

class TestFlick : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QPointingDevice* touchScreen = nullptr;

    std::unique_ptr<TForm1> startWithPictures()
    {
        return driver::startForm({dir.path().toStdString()});
    }

    // Moves fingers (side by side, 40 px apart) from start by travel in five
    // even moves, at once: how long a swipe may take is swipeDirection's
    // table below.
    void swipe(QWidget* widget, QPoint start, QPoint travel, int fingers = 1)
    {
        const int moves = 5;
        auto at = [&](int finger, int move) { return start + QPoint(0, 40 * finger) + travel * move / moves; };
        {
            auto touch = QTest::touchEvent(widget, touchScreen);
            for (int f = 0; f < fingers; ++f)
                touch.press(f, at(f, 0), widget);
        }
        for (int m = 1; m <= moves; ++m) {
            auto touch = QTest::touchEvent(widget, touchScreen);
            for (int f = 0; f < fingers; ++f)
                touch.move(f, at(f, m), widget);
        }
        auto touch = QTest::touchEvent(widget, touchScreen);
        for (int f = 0; f < fingers; ++f)
            touch.release(f, at(f, moves), widget);
    }

    void tap(QWidget* widget, QPoint at)
    {
        QTest::touchEvent(widget, touchScreen).press(0, at, widget);
        QTest::touchEvent(widget, touchScreen).release(0, at, widget);
    }

    // Once the step has ended and every event the input left behind has been
    // handled, no second step has started and the front is entry number.
    static void verifyIdle(TForm1& form, int number)
    {
        QCoreApplication::processEvents();
        QVERIFY(!form.TM_Img->isActive());
        QVERIFY(form.B_After->isEnabled());
        QCOMPARE(form.imgNumber, number);
    }

private slots:
    void initTestCase()
    {
        touchScreen = QTest::createTouchDevice();
        for (int k = 0; k < pictures; ++k)
            fixtures::writePicture(dir.path().toStdString() + "/p" + std::to_string(k) + ".png", QSize(40, 30),
                QColor::fromHsv(k * 70, 255, 255));
    }
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void decision_data()
    {
        QTest::addColumn<bool>("forMainWindow");
        QTest::addColumn<unsigned>("message");
        QTest::addColumn<std::uintptr_t>("wParam");
        QTest::addColumn<bool>("stepsEnabled");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<int>("step");
        // Only bits 5 to 7 of the data word count.
        const std::uintptr_t otherBits = ~std::uintptr_t(0xE0);
        for (int direction = 0; direction < 8; ++direction) {
            const int step = direction == 4 ? +1 : direction == 0 ? -1 : 0;
            const QByteArray name = "direction " + QByteArray::number(direction);
            QTest::newRow(name + ", idle") << true << tabletFlickMessage << flickWParam(direction) << true << true << step;
            QTest::newRow(name + ", other bits set")
                << true << tabletFlickMessage << (flickWParam(direction) | otherBits) << true << true << step;
            QTest::newRow(name + ", animating") << true << tabletFlickMessage << flickWParam(direction) << false << true << 0;
            QTest::newRow(name + ", another window")
                << false << tabletFlickMessage << flickWParam(direction) << true << false << 0;
        }
        const unsigned others[] = {0x0000, 0x0100 /* key down */, 0x0200 /* mouse move */, 0x0201 /* left button */,
            0x020A /* wheel */, 0x02CA, 0x02CC, 0x8000 /* application */};
        for (unsigned message : others)
            QTest::newRow(("message " + QByteArray::number(message, 16)).constData())
                << true << message << flickWParam(4) << true << false << 0;
    }
    void decision()
    {
        QFETCH(bool, forMainWindow);
        QFETCH(unsigned, message);
        QFETCH(std::uintptr_t, wParam);
        QFETCH(bool, stepsEnabled);
        QFETCH(bool, handled);
        QFETCH(int, step);
        const FlickDecision decision = decideFlick(forMainWindow, message, wParam, stepsEnabled);
        QCOMPARE(decision.handled, handled);
        QCOMPARE(decision.step, step);
    }

    void swipeDirection_data()
    {
        QTest::addColumn<QPointF>("travel");
        QTest::addColumn<quint64>("milliseconds");
        QTest::addColumn<int>("direction");
        QTest::newRow("right") << QPointF(150, 0) << quint64(50) << 0;
        QTest::newRow("up and right") << QPointF(100, -100) << quint64(50) << 1;
        QTest::newRow("up") << QPointF(0, -150) << quint64(50) << 2;
        QTest::newRow("up and left") << QPointF(-120, -120) << quint64(50) << 3;
        QTest::newRow("left") << QPointF(-150, 10) << quint64(50) << 4;
        QTest::newRow("down and left") << QPointF(-100, 100) << quint64(50) << 5;
        QTest::newRow("down") << QPointF(10, 150) << quint64(50) << 6;
        QTest::newRow("down and right") << QPointF(100, 100) << quint64(50) << 7;
        QTest::newRow("left, too steep") << QPointF(-120, -60) << quint64(50) << 3;
        QTest::newRow("left, just flat enough") << QPointF(-120, -49) << quint64(50) << 4;
        QTest::newRow("just long enough") << QPointF(-60, 0) << quint64(50) << 4;
        QTest::newRow("short") << QPointF(-59.9, 0) << quint64(50) << platform::noSwipe;
        QTest::newRow("short diagonal") << QPointF(-42, -42) << quint64(50) << platform::noSwipe;
        QTest::newRow("at once") << QPointF(-150, 0) << quint64(0) << 4;
        QTest::newRow("just quick enough") << QPointF(-150, 0) << quint64(500) << 4;
        QTest::newRow("slow") << QPointF(-150, 0) << quint64(501) << platform::noSwipe;
        QTest::newRow("very slow") << QPointF(-150, 0) << quint64(900) << platform::noSwipe;
    }
    void swipeDirection()
    {
        QFETCH(QPointF, travel);
        QFETCH(quint64, milliseconds);
        QTEST(platform::swipeDirection(travel, milliseconds), "direction");
    }

    void swipes_data()
    {
        QTest::addColumn<Over>("over");
        QTest::addColumn<QPoint>("start"); // in the widget
        QTest::addColumn<QPoint>("travel");
        QTest::addColumn<int>("fingers");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("number"); // imgNumber afterwards
        const int last = pictures - 1;
        QTest::newRow("left over the view") << Over::View << QPoint(400, 300) << QPoint(-150, 10) << 1 << 4 << 1;
        QTest::newRow("right over the view") << Over::View << QPoint(250, 300) << QPoint(150, -10) << 1 << 0 << last;
        QTest::newRow("left over the label") << Over::Label << QPoint(150, 16) << QPoint(-120, 0) << 1 << 4 << 1;
        QTest::newRow("right below the controls") << Over::Column << QPoint(20, 450) << QPoint(140, 0) << 1 << 0 << last;
        QTest::newRow("left from Previous") << Over::Previous << QPoint(40, 24) << QPoint(-100, 0) << 1 << 4 << 1;
        QTest::newRow("right from Previous onto Next")
            << Over::Previous << QPoint(20, 24) << QPoint(100, 0) << 1 << 0 << last;
        QTest::newRow("up") << Over::View << QPoint(300, 400) << QPoint(0, -150) << 1 << 2 << 0;
        QTest::newRow("down") << Over::View << QPoint(300, 200) << QPoint(10, 150) << 1 << 6 << 0;
        QTest::newRow("up and left") << Over::View << QPoint(400, 400) << QPoint(-120, -120) << 1 << 3 << 0;
        QTest::newRow("down and right over the label")
            << Over::Label << QPoint(20, 10) << QPoint(100, 100) << 1 << 7 << 0;
        QTest::newRow("left, too steep") << Over::View << QPoint(400, 300) << QPoint(-120, -60) << 1 << 3 << 0;
        QTest::newRow("short left") << Over::View << QPoint(400, 300) << QPoint(-45, 0) << 1 << none << 0;
        QTest::newRow("two fingers left") << Over::View << QPoint(400, 200) << QPoint(-150, 0) << 2 << none << 0;
    }
    void swipes()
    {
        QFETCH(Over, over);
        QFETCH(QPoint, start);
        QFETCH(QPoint, travel);
        QFETCH(int, fingers);
        QFETCH(int, direction);
        QFETCH(int, number);
        auto form = startWithPictures();
        SwipeLog log(*form);
        swipe(widgetOf(*form, over), start, travel, fingers);
        QCOMPARE(log.directions, direction == none ? QList<int>() : QList<int>{direction});
        driver::waitForStepEnd(*form);
        verifyIdle(*form, number);
        // The controls under the finger kept their values.
        QCOMPARE(form->SB_H->value(), 0.0);
        QCOMPARE(form->SB_V->value(), 0.0);
        QCOMPARE(form->ArcDial1->value(), 0.0);
    }

    // Qt turns a tap that no widget takes as touch into a mouse click.
    void tapOnNextStepsOnce()
    {
        auto form = startWithPictures();
        tap(form->B_After, form->B_After->rect().center());
        QVERIFY(!form->B_After->isEnabled());
        driver::waitForStepEnd(*form);
        verifyIdle(*form, 1);
    }

    void mouseDragIsNoSwipe()
    {
        auto form = startWithPictures();
        SwipeLog log(*form);
        QWidget* view = form->Viewport3D1;
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(400, 300));
        for (int x = 350; x >= 150; x -= 50)
            QTest::mouseMove(view, QPoint(x, 300));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 300));
        QVERIFY(log.directions.isEmpty());
        verifyIdle(*form, 0);
    }

    void swipeDuringAStepIsIgnored()
    {
        auto form = startWithPictures();
        SwipeLog log(*form);
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        swipe(form->Viewport3D1, QPoint(400, 300), QPoint(-150, 0));
        QCOMPARE(log.directions, QList<int>{4});
        QVERIFY(!form->B_After->isEnabled()); // the swipe came while the ring turned
        driver::waitForStepEnd(*form);
        verifyIdle(*form, 1);
        QCOMPARE(form->imgFront, 1);
    }

    void leftSwipeWithoutPicturesDoesNothing()
    {
        int boxes = 0;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest&) {
            ++boxes;
            return platform::BoxAnswer::Ok;
        });
        auto form = driver::startForm({});
        SwipeLog log(*form);
        swipe(form->Viewport3D1, QPoint(400, 300), QPoint(-150, 0));
        QCOMPARE(log.directions, QList<int>{4});
        verifyIdle(*form, 0);
        QCOMPARE(form->imgFront, 0);
        QCOMPARE(boxes, 0);
    }
};

VIEWER_TEST_MAIN(TestFlick)
#include "test_flick.moc"
