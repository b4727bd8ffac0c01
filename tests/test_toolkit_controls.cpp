// The painted controls, driven through real input events in shown windows.
#include "support/frame_probe.h"
#include "view3d/accessible_view.h"
#include "view3d/viewport3d.h"
#include "widgets/accessible_controls.h"
#include "widgets/arc_dial.h"
#include "widgets/busy_indicator.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include "widgets/text_label.h"
#include <QAccessible>
#include <QAbstractEventDispatcher>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <numbers>

using namespace widgets;
using frameprobe::near;

namespace {

// The looks the tests paint with; these tests don't link the program, so
// its values are written out here.
QColor argb(QRgb value) { return QColor::fromRgba(value); }

QGradientStops twoStops(QRgb top, QRgb bottom) { return {{0.0, argb(top)}, {1.0, argb(bottom)}}; }

QFont fontOfSize(int pixels)
{
    QFont font;
    font.setFamilies({"DejaVu Sans", "Noto Sans CJK JP"});
    font.setPixelSize(pixels);
    return font;
}

const QColor buttonOutline = argb(0xFF525252);
const QColor dialDot = argb(0xFF505050);
const QColor panelOutline = argb(0xFF8E8E8E);

PanelLook panelLook()
{
    return {{{0.0, argb(0xFFFAFAFA)}, {0.1655, argb(0xFFF0F0F0)}, {0.8417, argb(0xFFECECEC)}, {1.0, argb(0xFFD8D8D8)}},
            panelOutline};
}

ButtonLook buttonLook()
{
    return {twoStops(0xFFFCFCFC, 0xFFB8B8B8), buttonOutline, 3, {argb(0xFF4F4848), 0.4, 0.9},
            {argb(0xFF2080E0), 0.2, 1}, fontOfSize(11), Qt::black};
}

DialLook dialLook()
{
    return {twoStops(0xFFFCFCFC, 0xFFB8B8B8), buttonOutline, dialDot, Qt::white, 5, 2, fontOfSize(9), argb(0xFF101010)};
}

ScrollBarLook scrollBarLook()
{
    return {argb(0xFFCFCFCF), 18, twoStops(0xFFFAFAFA, 0xFFDEDEDE), argb(0xFF5A5A5A), 7, 8,
            twoStops(0xFFC5C5C5, 0xFFF2F2F2), argb(0xFFBCC0C5), twoStops(0xFFC1CCDA, 0xFF8793B1),
            argb(0xFF7A8593), 0.8, 200};
}

LabelLook labelLook() { return {fontOfSize(11), Qt::black}; }

BusyIndicatorLook busyLook() { return {argb(0xFFBABABA), Qt::black, 833}; }

// A white top-level window that records the key events its children let
// through.
class Window : public QWidget {
public:
    Window(QSize size)
    {
        resize(size);
        setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
    }

    void showActive()
    {
        show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
        activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(this));
    }

    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

QString describe(QColor colour) { return colour.name(QColor::HexArgb); }

QImage picture(QWidget& widget) { return widget.grab().toImage(); }

// Whether target took a wheel turn for itself rather than leaving it to its
// parent.
bool takesWheel(QWidget* target)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    return wheel.isAccepted();
}

// Angles are equal when they name the same direction.
bool sameAngle(double a, double b) { return std::abs(std::remainder(a - b, 360.0)) < 0.01; }

// What assistive technology such as a screen reader sees of a control.
QAccessibleInterface* accessible(QObject* control) { return QAccessible::queryAccessibleInterface(control); }

}

class TestToolkitControls : public QObject {
    Q_OBJECT

private slots:
    // As the program does before its first window.
    void initTestCase()
    {
        installAccessibleControls();
        view3d::installAccessibleView();
    }
    void dialAngleFollowsPointer_data();
    void dialAngleFollowsPointer();
    void dialReportsEveryChangeOfADrag();
    void dialPressWithoutMoveChangesNothing();
    void dialSetValueReportsOnlyADifference();
    void dialIgnoresWheelKeysAndFocus();
    void dialText_data();
    void dialText();
    void dialDotPointsAtValue_data();
    void dialDotPointsAtValue();
    void dialLook();

    void scrollArrowsStepOnce();
    void scrollTrackPressJumps_data();
    void scrollTrackPressJumps();
    void scrollThumbDragIsContinuous_data();
    void scrollThumbDragIsContinuous();
    void scrollThumbCentredOnValue_data();
    void scrollThumbCentredOnValue();
    void scrollThumbFadesUnderPointer();
    void scrollIgnoresWheelKeysAndFocus();

    void buttonClickCarriesModifiers_data();
    void buttonClickCarriesModifiers();
    void buttonReleaseOutsideIsNoClick();
    void buttonKeysActivateFocused_data();
    void buttonKeysActivateFocused();
    void buttonDisabledIgnoresMouseAndFades();
    void buttonDisabledMidPressForgetsThePress();
    void buttonTabMovesFocus();
    void buttonLook();

    void accessibleButtons();
    void accessibleButtonPressIsAPlainClick();
    void accessibleScrollBar();
    void accessibleDial();
    void accessibleLabelPanelAndView();

    void panelLook();
    void labelWrapsJapaneseOnTwoLines();
    void busyIndicatorTurnsClockwise();
    void busyLeadingSpoke_data();
    void busyLeadingSpoke();
    void controlColumnScreenshot();
};

// --- Arc dial: 100 x 100 in a window, centre at (50, 50) -------------------

void TestToolkitControls::dialAngleFollowsPointer_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<double>("angle");
    QTest::newRow("right") << QPoint(90, 50) << 0.0;
    QTest::newRow("up") << QPoint(50, 10) << 90.0;
    QTest::newRow("down") << QPoint(50, 90) << -90.0;
    QTest::newRow("left") << QPoint(10, 50) << 180.0;
    QTest::newRow("up right") << QPoint(90, 10) << 45.0;
    QTest::newRow("up left") << QPoint(10, 10) << 135.0;
    QTest::newRow("down left") << QPoint(10, 90) << -135.0;
    QTest::newRow("down right") << QPoint(90, 90) << -45.0;
    QTest::newRow("just above the seam") << QPoint(10, 49) << 178.568;
    QTest::newRow("just below the seam") << QPoint(10, 51) << -178.568;
}

// A 100 x 100 dial showing value, alone in a shown window.
struct DialFixture {
    Window window{{100, 100}};
    ArcDial dial{::dialLook(), &window};
    explicit DialFixture(double value = 0)
    {
        dial.resize(100, 100);
        dial.setValue(value);
        window.showActive();
    }
};

void TestToolkitControls::dialAngleFollowsPointer()
{
    QFETCH(QPoint, pointer);
    QFETCH(double, angle);
    DialFixture fixture(33);
    ArcDial& dial = fixture.dial;
    QSignalSpy changes(&dial, &ArcDial::valueChanged);

    QTest::mousePress(&dial, Qt::LeftButton, {}, QPoint(60, 40));
    QTest::mouseMove(&dial, pointer);
    QTest::mouseRelease(&dial, Qt::LeftButton, {}, pointer);

    QVERIFY2(sameAngle(dial.value(), angle) && std::abs(dial.value()) <= 180, qPrintable(QString::number(dial.value())));
    QCOMPARE(changes.count(), 1);
}

void TestToolkitControls::dialReportsEveryChangeOfADrag()
{
    DialFixture fixture;
    ArcDial& dial = fixture.dial;
    QTest::mousePress(&dial, Qt::LeftButton, {}, QPoint(90, 50));
    QList<double> seen;
    connect(&dial, &ArcDial::valueChanged, this, [&] { seen << dial.value(); });
    for (const QPoint pointer : {QPoint(50, 10), QPoint(10, 10), QPoint(50, 90)})
        QTest::mouseMove(&dial, pointer);
    QTest::mouseRelease(&dial, Qt::LeftButton, {}, QPoint(50, 90));
    QCOMPARE(seen, (QList<double>{90, 135, -90}));
}

void TestToolkitControls::dialPressWithoutMoveChangesNothing()
{
    DialFixture fixture(33);
    ArcDial& dial = fixture.dial;
    QSignalSpy changes(&dial, &ArcDial::valueChanged);

    QTest::mouseClick(&dial, Qt::LeftButton, {}, QPoint(10, 50));
    QCOMPARE(dial.value(), 33.0);
    QCOMPARE(changes.count(), 0);
}

void TestToolkitControls::dialSetValueReportsOnlyADifference()
{
    ArcDial dial(::dialLook());
    QSignalSpy changes(&dial, &ArcDial::valueChanged);
    const QList<std::pair<double, int>> steps{{10, 1}, {10, 1}, {-5.5, 2}, {-5.5, 2}, {0, 3}};
    for (const auto& [value, reports] : steps) {
        dial.setValue(value);
        QCOMPARE(dial.value(), value);
        QCOMPARE(changes.count(), reports);
    }
}

void TestToolkitControls::dialIgnoresWheelKeysAndFocus()
{
    Window window({140, 100});
    PushButton button(::buttonLook(), &window);
    button.setGeometry(100, 0, 40, 30);
    ArcDial dial(::dialLook(), &window);
    dial.resize(100, 100);
    window.showActive();
    button.setFocus();
    QSignalSpy changes(&dial, &ArcDial::valueChanged);

    QTest::mouseClick(&dial, Qt::LeftButton, {}, QPoint(90, 50));
    QVERIFY(!takesWheel(&dial));
    QTest::keyClick(&dial, Qt::Key_Up);
    QTest::keyClick(&dial, Qt::Key_Right);

    QCOMPARE(dial.focusPolicy(), Qt::NoFocus);
    QVERIFY(button.hasFocus());
    QCOMPARE(window.keys, 2);
    QCOMPARE(changes.count(), 0);
}

void TestToolkitControls::dialText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0°";
    QTest::newRow("half to even down") << 0.5 << "0°";
    QTest::newRow("half to even up") << 1.5 << "2°";
    QTest::newRow("2.5") << 2.5 << "2°";
    QTest::newRow("3.5") << 3.5 << "4°";
    QTest::newRow("-2.5") << -2.5 << "-2°";
    QTest::newRow("small negative") << -0.4 << "0°";
    QTest::newRow("-45.4") << -45.4 << "-45°";
    QTest::newRow("-45.6") << -45.6 << "-46°";
    QTest::newRow("left") << 180.0 << "180°";
}

void TestToolkitControls::dialText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(ArcDial::valueText(value), text);
}

void TestToolkitControls::dialDotPointsAtValue_data()
{
    // The dot is 5 x 5 with its edge 2 px inside the rim: its centre lies
    // 45.5 px from the centre.
    QTest::addColumn<double>("value");
    QTest::addColumn<QPoint>("dot");
    QTest::newRow("0: three o'clock") << 0.0 << QPoint(95, 49);
    QTest::newRow("90: twelve o'clock") << 90.0 << QPoint(49, 4);
    QTest::newRow("-90: six o'clock") << -90.0 << QPoint(49, 95);
    QTest::newRow("180: nine o'clock") << 180.0 << QPoint(4, 49);
}

void TestToolkitControls::dialDotPointsAtValue()
{
    QFETCH(double, value);
    QFETCH(QPoint, dot);
    ArcDial dial(::dialLook());
    dial.resize(100, 100);
    dial.setValue(value);
    const QImage image = picture(dial);
    for (const QPoint spot : {QPoint(95, 49), QPoint(49, 4), QPoint(49, 95), QPoint(4, 49)}) {
        const QColor colour = image.pixelColor(spot);
        QVERIFY2(near(colour, dialDot, 6) == (spot == dot), qPrintable(describe(colour)));
    }
}

void TestToolkitControls::dialLook()
{
    ArcDial dial(::dialLook());
    dial.resize(100, 100);
    dial.setValue(-45);
    const QImage image = picture(dial);
    for (const QPoint rim : {QPoint(50, 0), QPoint(0, 50), QPoint(99, 50), QPoint(50, 99)})
        QVERIFY2(near(image.pixelColor(rim), buttonOutline, 24), qPrintable(describe(image.pixelColor(rim))));
    QCOMPARE(image.pixelColor(2, 2), dial.palette().color(QPalette::Window)); // nothing outside the circle
    QVERIFY(near(image.pixelColor(50, 8), argb(0xFFF4F4F4), 6)); // gradient, light at the top
    QVERIFY(near(image.pixelColor(50, 92), argb(0xFFC0C0C0), 6)); // dark at the bottom

    // The text "-45°" sits in the middle: dark ink only there.
    QRect ink;
    for (int y = 25; y < 75; ++y)
        for (int x = 25; x < 75; ++x)
            if (qGray(image.pixel(x, y)) < 0xA0)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(std::abs(ink.center().x() - 50) <= 2 && std::abs(ink.center().y() - 50) <= 2,
             qPrintable(QString("ink %1,%2").arg(ink.center().x()).arg(ink.center().y())));
    QVERIFY(ink.width() > 15 && ink.height() < 12);
}

// --- Scroll bar: 170 x 34, arrows 18 long, so the thumb's centre travels
// 100 px, from x = 35 (min) to x = 135 (max) --------------------------------

struct ScrollFixture {
    Window window{{200, 200}};
    ScrollBar bar;
    explicit ScrollFixture(Qt::Orientation orientation, double min, double max)
        : bar(orientation, scrollBarLook(), &window)
    {
        bar.resize(orientation == Qt::Horizontal ? QSize(170, 34) : QSize(34, 170));
        bar.setRange(min, max);
        bar.setSmallChange(1);
        window.showActive();
    }
};

void TestToolkitControls::scrollArrowsStepOnce()
{
    ScrollFixture fixture(Qt::Horizontal, -30, 30);
    ScrollBar& bar = fixture.bar;
    QSignalSpy changes(&bar, &ScrollBar::valueChanged);
    const QList<std::pair<QPoint, double>> clicks{
        {{9, 17}, -1}, {{9, 17}, -2}, {{160, 17}, -1}, {{169, 17}, 0}, {{152, 17}, 1}, {{17, 17}, 0}};
    for (const auto& [at, value] : clicks) {
        QTest::mousePress(&bar, Qt::LeftButton, {}, at);
        // A held arrow steps once: nothing is timed to step it again.
        QVERIFY(QAbstractEventDispatcher::instance()->registeredTimers(&bar).isEmpty());
        for (QObject* child : bar.findChildren<QObject*>())
            QVERIFY(QAbstractEventDispatcher::instance()->registeredTimers(child).isEmpty());
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at);
        QCOMPARE(bar.value(), value);
    }
    QCOMPARE(changes.count(), int(clicks.size()));

    bar.setValue(30);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(160, 17));
    QCOMPARE(bar.value(), 30.0); // clamped at max
}

void TestToolkitControls::scrollTrackPressJumps_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<double>("value");
    QTest::newRow("left of the thumb") << 60 << -15.0;
    QTest::newRow("near min") << 40 << -27.0;
    QTest::newRow("right of the thumb") << 120 << 21.0;
    QTest::newRow("past min's thumb centre") << 20 << -30.0;
    QTest::newRow("past max's thumb centre") << 150 << 30.0;
}

void TestToolkitControls::scrollTrackPressJumps()
{
    QFETCH(int, x);
    QFETCH(double, value);
    ScrollFixture fixture(Qt::Horizontal, -30, 30);
    QSignalSpy changes(&fixture.bar, &ScrollBar::valueChanged);
    QTest::mouseClick(&fixture.bar, Qt::LeftButton, {}, QPoint(x, 17));
    QCOMPARE(fixture.bar.value(), value);
    QCOMPARE(changes.count(), 1);
}

void TestToolkitControls::scrollThumbDragIsContinuous_data()
{
    // Grabbed off-centre at 80 (the thumb spans 68..102): the grab point
    // keeps its place on the thumb, so only the movement counts.
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QList<double>>("values");
    QTest::newRow("horizontal: 0.6 a pixel") << Qt::Horizontal << -30.0 << 30.0 << QList<int>{81, 82, 79}
                                             << QList<double>{0.6, 1.2, -0.6};
    QTest::newRow("vertical: down increases") << Qt::Vertical << -40.0 << 40.0 << QList<int>{81, 86, 75}
                                              << QList<double>{0.8, 4.8, -4.0};
    QTest::newRow("clamped at the ends") << Qt::Horizontal << -30.0 << 30.0 << QList<int>{200, -50}
                                         << QList<double>{30, -30};
}

void TestToolkitControls::scrollThumbDragIsContinuous()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QList<int>, moves);
    QFETCH(QList<double>, values);
    ScrollFixture fixture(orientation, min, max);
    ScrollBar& bar = fixture.bar;
    const auto at = [&](int along) { return orientation == Qt::Horizontal ? QPoint(along, 17) : QPoint(17, along); };
    QSignalSpy changes(&bar, &ScrollBar::valueChanged);

    QTest::mousePress(&bar, Qt::LeftButton, {}, at(80));
    QCOMPARE(bar.value(), 0.0);
    for (int step = 0; step < moves.size(); ++step) {
        QTest::mouseMove(&bar, at(moves[step]));
        QVERIFY2(qFuzzyCompare(1 + bar.value(), 1 + values[step]), qPrintable(QString::number(bar.value())));
    }
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, at(moves.last()));
    QCOMPARE(changes.count(), int(moves.size()));
}

void TestToolkitControls::scrollThumbCentredOnValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("centre");
    QTest::newRow("min") << -30.0 << 35;
    QTest::newRow("middle") << 0.0 << 85;
    QTest::newRow("max") << 30.0 << 135;
}

void TestToolkitControls::scrollThumbCentredOnValue()
{
    QFETCH(double, value);
    QFETCH(int, centre);
    ScrollBar bar(Qt::Horizontal, scrollBarLook());
    bar.resize(170, 34);
    bar.setRange(-30, 30);
    bar.setValue(value);
    const QImage image = picture(bar);
    // The thumb is bluish, the track grey; the thumb is about as long as
    // the bar is thick (34).
    const auto bluish = [&](int x) {
        const QColor colour = image.pixelColor(x, 17);
        return colour.blue() - colour.red() > 15;
    };
    for (int x = 18; x < 152; ++x) {
        const int distance = std::abs(x - centre);
        if (distance <= 14 || distance >= 18)
            QVERIFY2(bluish(x) == (distance <= 14), qPrintable(QString("x %1").arg(x)));
    }
}

void TestToolkitControls::scrollThumbFadesUnderPointer()
{
    ScrollFixture fixture(Qt::Horizontal, -30, 30);
    ScrollBar& bar = fixture.bar;
    const QPoint thumb(85, 17);
    QTest::mouseMove(&fixture.window, QPoint(190, 190));
    const QColor solid = picture(bar).pixelColor(thumb);

    QTest::mouseMove(&bar, thumb);
    // 0.8 of the thumb over the groove below it: a fifth of the way to it,
    // once the fade has ended.
    const QColor groove = picture(bar).pixelColor(60, 17);
    const auto fadedRed = [&] { return picture(bar).pixelColor(thumb).red(); };
    const int target = (4 * solid.red() + groove.red()) / 5;
    QTRY_VERIFY2(std::abs(fadedRed() - target) <= 3,
                 qPrintable(QString("red %1, expected %2").arg(fadedRed()).arg(target)));

    QTest::mouseMove(&fixture.window, QPoint(190, 190));
    QTRY_COMPARE(picture(bar).pixelColor(thumb), solid);
}

void TestToolkitControls::scrollIgnoresWheelKeysAndFocus()
{
    ScrollFixture fixture(Qt::Vertical, -40, 40);
    ScrollBar& bar = fixture.bar;
    QSignalSpy changes(&bar, &ScrollBar::valueChanged);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(17, 85));
    QVERIFY(!takesWheel(&bar));
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End})
        QTest::keyClick(&bar, key);

    QCOMPARE(bar.focusPolicy(), Qt::NoFocus);
    QVERIFY(!bar.hasFocus());
    QCOMPARE(fixture.window.keys, 3);
    QCOMPARE(changes.count(), 0);
}

// --- Push button ------------------------------------------------------------

struct ButtonRow {
    Window window{{200, 100}};
    PushButton first{::buttonLook(), &window};
    PushButton second{::buttonLook(), &window};
    PushButton third{::buttonLook(), &window};
    ButtonRow()
    {
        first.setGeometry(10, 10, 50, 40);
        second.setGeometry(70, 10, 50, 40);
        third.setGeometry(130, 10, 50, 40);
        QWidget::setTabOrder(&first, &third);
        QWidget::setTabOrder(&third, &second);
        window.showActive();
    }
};

void TestToolkitControls::buttonClickCarriesModifiers_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("plain") << Qt::KeyboardModifiers();
    QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("shift control") << (Qt::ShiftModifier | Qt::ControlModifier);
}

void TestToolkitControls::buttonClickCarriesModifiers()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    ButtonRow row;
    QSignalSpy clicks(&row.first, &PushButton::clicked);
    QTest::mouseClick(&row.first, Qt::LeftButton, modifiers, QPoint(25, 20));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks[0][0].value<Qt::KeyboardModifiers>(), modifiers);

    QTest::mouseClick(&row.first, Qt::RightButton, modifiers, QPoint(25, 20));
    QCOMPARE(clicks.count(), 1);
}

void TestToolkitControls::buttonReleaseOutsideIsNoClick()
{
    ButtonRow row;
    QSignalSpy clicks(&row.first, &PushButton::clicked);
    QTest::mousePress(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    QTest::mouseMove(&row.first, QPoint(70, 20));
    QTest::mouseRelease(&row.first, Qt::LeftButton, {}, QPoint(70, 20));
    QCOMPARE(clicks.count(), 0);

    // Leaving and coming back before the release is still a click.
    QTest::mousePress(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    QTest::mouseMove(&row.first, QPoint(70, 20));
    QTest::mouseMove(&row.first, QPoint(30, 20));
    QTest::mouseRelease(&row.first, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicks.count(), 1);
}

void TestToolkitControls::buttonKeysActivateFocused_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("return") << Qt::Key_Return << Qt::KeyboardModifiers() << 1;
    QTest::newRow("enter") << Qt::Key_Enter << Qt::KeyboardModifiers() << 1;
    QTest::newRow("space") << Qt::Key_Space << Qt::KeyboardModifiers() << 1;
    QTest::newRow("shift return") << Qt::Key_Return << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1;
    QTest::newRow("shift space") << Qt::Key_Space << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1;
    QTest::newRow("a letter") << Qt::Key_A << Qt::KeyboardModifiers() << 0;
}

void TestToolkitControls::buttonKeysActivateFocused()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, clicks);
    ButtonRow row;
    row.second.setFocus();
    QVERIFY(row.second.hasFocus());
    QSignalSpy firstClicks(&row.first, &PushButton::clicked);
    QSignalSpy secondClicks(&row.second, &PushButton::clicked);

    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QCOMPARE(secondClicks.count(), clicks);
    QCOMPARE(firstClicks.count(), 0);
    if (clicks)
        QCOMPARE(secondClicks[0][0].value<Qt::KeyboardModifiers>(), modifiers);
}

void TestToolkitControls::buttonDisabledIgnoresMouseAndFades()
{
    ButtonRow row;
    const QPoint body(35, 15);
    const QColor enabled = picture(row.window).pixelColor(body);
    row.first.setEnabled(false);
    QSignalSpy clicks(&row.first, &PushButton::clicked);
    QTest::mouseClick(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    QCOMPARE(clicks.count(), 0);
    // 0.8 of the button over the white window.
    const QColor disabled = picture(row.window).pixelColor(body);
    const QColor expected = QColor::fromRgbF(0.8f * enabled.redF() + 0.2f, 0.8f * enabled.greenF() + 0.2f,
                                             0.8f * enabled.blueF() + 0.2f);
    QVERIFY2(near(disabled, expected, 2), qPrintable(describe(disabled) + " " + describe(expected)));
}

void TestToolkitControls::buttonDisabledMidPressForgetsThePress()
{
    ButtonRow row;
    const QPoint body(35, 15);
    const QColor up = picture(row.window).pixelColor(body);
    QSignalSpy clicks(&row.first, &PushButton::clicked);
    QTest::mousePress(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    row.first.setEnabled(false);
    QTest::mouseRelease(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    row.first.setEnabled(true);
    QCOMPARE(picture(row.window).pixelColor(body), up);
    QTest::mouseRelease(&row.first, Qt::LeftButton, {}, QPoint(25, 20));
    QCOMPARE(clicks.count(), 0);
}

void TestToolkitControls::buttonTabMovesFocus()
{
    ButtonRow row;
    row.first.setFocus();
    const QList<std::pair<Qt::KeyboardModifiers, PushButton*>> steps{
        {{}, &row.third}, {{}, &row.second}, {{}, &row.first},
        {Qt::ShiftModifier, &row.second}, {Qt::ShiftModifier, &row.third}};
    for (const auto& [modifiers, expected] : steps) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
}

void TestToolkitControls::buttonLook()
{
    ButtonRow row;
    row.second.setText("終了");
    row.second.setFocus();
    const auto at = [&](QPoint spot) { return picture(row.window).pixelColor(spot); };
    const auto bluish = [](QColor c) { return c.blue() - c.red() > 60; };

    QVERIFY(near(at({70, 30}), buttonOutline, 8)); // left edge of the second button
    QVERIFY(near(at({95, 10}), buttonOutline, 8)); // top edge
    QVERIFY(near(at({95, 12}), argb(0xFFFAFAFA), 6)); // gradient, light at the top
    QVERIFY(near(at({72, 47}), argb(0xFFBBBBBB), 6)); // and darker at the bottom
    QVERIFY2(bluish(at({69, 30})), qPrintable(describe(at({69, 30})))); // focus glow just outside
    QCOMPARE(at({9, 30}), QColor(Qt::white)); // none around the unfocused first button

    row.first.setFocus();
    QTRY_COMPARE(at({69, 30}), QColor(Qt::white));
    QVERIFY(bluish(at({9, 30})));

    const int released = qGray(at({72, 30}).rgb());
    QTest::mousePress(&row.second, Qt::LeftButton, {}, QPoint(25, 20));
    const int pressed = qGray(at({72, 30}).rgb());
    QTest::mouseRelease(&row.second, Qt::LeftButton, {}, QPoint(25, 20));
    QVERIFY2(pressed < released - 40, qPrintable(QString("%1 %2").arg(pressed).arg(released))); // inner glow

    // The caption is centred in the button.
    const QImage image = picture(row.second);
    QRect ink;
    for (int y = 3; y < 37; ++y)
        for (int x = 3; x < 47; ++x)
            if (qGray(image.pixel(x, y)) < 0x60)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(ink.width() > 15);
    QVERIFY2(std::abs(ink.center().x() - 24.5) <= 2 && std::abs(ink.center().y() - 19.5) <= 2,
             qPrintable(QString("ink %1,%2").arg(ink.center().x()).arg(ink.center().y())));
}

// --- What assistive technology sees ----------------------------------------

void TestToolkitControls::accessibleButtons()
{
    ButtonRow row;
    row.first.setText("終了");
    row.second.setText("前へ");
    row.third.setText("次へ");
    row.second.setEnabled(false);
    for (PushButton* button : {&row.first, &row.second, &row.third}) {
        QAccessibleInterface* face = accessible(button);
        QCOMPARE(face->role(), QAccessible::Button);
        QCOMPARE(face->text(QAccessible::Name), button->text());
        QCOMPARE(face->state().disabled, !button->isEnabled());
        QCOMPARE(face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
                 button->isEnabled());
    }

    // The interface follows the button's caption and state.
    row.first.setText("やめる");
    row.first.setEnabled(false);
    QCOMPARE(accessible(&row.first)->text(QAccessible::Name), QString("やめる"));
    QVERIFY(accessible(&row.first)->state().disabled);
    QVERIFY(accessible(&row.first)->actionInterface()->actionNames().isEmpty());

    // A name the program gives wins over the caption.
    row.third.setAccessibleName("next picture");
    QCOMPARE(accessible(&row.third)->text(QAccessible::Name), QString("next picture"));
}

// The press action clicks as a plain mouse click does, once the caller has
// had its answer; a button disabled meanwhile stays unclicked.
void TestToolkitControls::accessibleButtonPressIsAPlainClick()
{
    ButtonRow row;
    QSignalSpy clicks(&row.third, &PushButton::clicked);
    QAccessibleActionInterface* actions = accessible(&row.third)->actionInterface();
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 0);
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(clicks[0][0].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers());
    QTest::mouseClick(&row.third, Qt::LeftButton, {}, QPoint(25, 20));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks[1], clicks[0]);

    actions->doAction(QAccessibleActionInterface::pressAction());
    row.third.setEnabled(false);
    QCoreApplication::sendPostedEvents();
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(clicks.count(), 2);
}

void TestToolkitControls::accessibleScrollBar()
{
    ScrollFixture fixture(Qt::Horizontal, -30, 30);
    ScrollBar& bar = fixture.bar;
    QAccessibleInterface* face = accessible(&bar);
    QCOMPARE(face->role(), QAccessible::ScrollBar);
    QAccessibleValueInterface* value = face->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toDouble(), -30.0);
    QCOMPARE(value->maximumValue().toDouble(), 30.0);
    QCOMPARE(value->minimumStepSize().toDouble(), 1.0);
    QCOMPARE(value->currentValue().toDouble(), 0.0);

    QSignalSpy changes(&bar, &ScrollBar::valueChanged);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(9, 17)); // the left arrow
    QCOMPARE(value->currentValue().toDouble(), -1.0);
    QCOMPARE(face->text(QAccessible::Value), QString("-1"));
    // Set through the interface as a screen reader's user would: clamped,
    // and the program hears of it.
    value->setCurrentValue(12.5);
    value->setCurrentValue(99.0);
    QCOMPARE(bar.value(), 30.0);
    QCOMPARE(changes.count(), 3);

    bar.setRange(-40, 20);
    QCOMPARE(value->minimumValue().toDouble(), -40.0);
    QCOMPARE(value->maximumValue().toDouble(), 20.0);
    QCOMPARE(value->currentValue().toDouble(), 20.0);
}

void TestToolkitControls::accessibleDial()
{
    DialFixture fixture(30.4);
    ArcDial& dial = fixture.dial;
    QAccessibleInterface* face = accessible(&dial);
    QCOMPARE(face->role(), QAccessible::Dial);
    QAccessibleValueInterface* value = face->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toDouble(), 30.4);
    QCOMPARE(face->text(QAccessible::Value), QString("30°"));
    QCOMPARE(value->minimumValue().toDouble(), -180.0);
    QCOMPARE(value->maximumValue().toDouble(), 180.0);

    QSignalSpy changes(&dial, &ArcDial::valueChanged);
    QTest::mousePress(&dial, Qt::LeftButton, {}, QPoint(90, 50));
    QTest::mouseMove(&dial, QPoint(50, 10));
    QTest::mouseRelease(&dial, Qt::LeftButton, {}, QPoint(50, 10));
    QCOMPARE(value->currentValue().toDouble(), 90.0);
    QCOMPARE(face->text(QAccessible::Value), QString("90°"));
    value->setCurrentValue(-200.0);
    QCOMPARE(dial.value(), -180.0);
    QCOMPARE(changes.count(), 2);
}

void TestToolkitControls::accessibleLabelPanelAndView()
{
    Panel panel(::panelLook());
    TextLabel label(::labelLook(), &panel);
    label.setText("画像の入ったフォルダをドラッグ＆ドロップすると表示します");
    view3d::Viewport3D view;
    QCOMPARE(accessible(&panel)->role(), QAccessible::Pane);
    QCOMPARE(accessible(&label)->role(), QAccessible::StaticText);
    QCOMPARE(accessible(&label)->text(QAccessible::Name), label.text());
    QCOMPARE(accessible(&view)->role(), QAccessible::Graphic);
    QCOMPARE(accessible(&view)->text(QAccessible::Name), QString());

    label.setText("ほかの文");
    view.setAccessibleName("b.png");
    QCOMPARE(accessible(&label)->text(QAccessible::Name), QString("ほかの文"));
    QCOMPARE(accessible(&view)->text(QAccessible::Name), QString("b.png"));
}

// --- Panel, label, busy indicator ------------------------------------------

void TestToolkitControls::panelLook()
{
    Panel panel(::panelLook());
    panel.resize(100, 100);
    const QImage image = picture(panel);
    for (const QPoint edge : {QPoint(50, 0), QPoint(0, 50), QPoint(99, 50), QPoint(50, 99), QPoint(0, 0), QPoint(99, 99)})
        QVERIFY2(near(image.pixelColor(edge), panelOutline, 1), qPrintable(QString("%1,%2 ").arg(edge.x()).arg(edge.y()) + describe(image.pixelColor(edge))));
    QVERIFY(near(image.pixelColor(50, 1), argb(0xFFFAFAFA), 2));
    QVERIFY(near(image.pixelColor(50, 50), argb(0xFFEEEEEE), 2));
    QVERIFY(near(image.pixelColor(50, 98), argb(0xFFD9D9D9), 3));
}

void TestToolkitControls::labelWrapsJapaneseOnTwoLines()
{
    TextLabel label(::labelLook());
    label.resize(169, 33);
    label.setText(QString::fromUtf8("画像の入ったフォルダをドラッグ＆ドロップすると表示します"));
    const QImage image = picture(label);

    // Rows with ink form bands, one per line of text.
    QList<std::pair<int, int>> lines;
    int left = image.width();
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 0x80) {
                ink = true;
                left = std::min(left, x);
            }
        if (ink && (lines.isEmpty() || lines.last().second != y - 1))
            lines.append({y, y});
        else if (ink)
            lines.last().second = y;
    }
    QCOMPARE(lines.size(), 2);
    QVERIFY(left <= 2);                                                     // left-aligned
    QVERIFY(std::abs(lines.first().first - (32 - lines.last().second)) <= 3); // vertically centred
}

void TestToolkitControls::busyIndicatorTurnsClockwise()
{
    Window window({50, 50});
    BusyIndicator indicator(busyLook(), &window);
    indicator.resize(50, 50);
    window.showActive();

    // Sample each spoke halfway along it; spoke k points k * 30 degrees
    // clockwise from twelve o'clock.
    const auto spokes = [&] {
        const QImage image = picture(indicator);
        QList<int> grey;
        for (int k = 0; k < 12; ++k) {
            const double angle = k * std::numbers::pi / 6;
            grey << qGray(image.pixel(QPointF(25 + 16 * std::sin(angle), 25 - 16 * std::cos(angle)).toPoint()));
        }
        return grey;
    };
    const auto leadOf = [](const QList<int>& grey) { return int(std::min_element(grey.begin(), grey.end()) - grey.begin()); };

    const QList<int> before = spokes();
    const int first = leadOf(before);
    QVERIFY2(before[first] < 30, "the leading spoke is black");
    QVERIFY2(before[(first + 1) % 12] > 150, "the spoke ahead of it is nearly the plain grey");
    QVERIFY(before[(first + 11) % 12] < before[(first + 6) % 12]); // the trail fades

    // It moves on its own, a spoke or two at a time, clockwise.
    int advanced = 0;
    QTRY_VERIFY((advanced = (leadOf(spokes()) - first + 12) % 12) != 0);
    QVERIFY2(advanced <= 3, qPrintable(QString("advanced %1 spokes").arg(advanced)));
}

void TestToolkitControls::busyLeadingSpoke_data()
{
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("spoke");
    QTest::newRow("start") << qint64(0) << 0;
    QTest::newRow("just before the first step") << qint64(69) << 0;
    QTest::newRow("first step") << qint64(70) << 1;
    QTest::newRow("just before half a turn") << qint64(416) << 5;
    QTest::newRow("half a turn") << qint64(417) << 6;
    QTest::newRow("last spoke") << qint64(832) << 11;
    QTest::newRow("one turn") << qint64(833) << 0;
    QTest::newRow("many turns on") << qint64(833 * 1000 + 70) << 1;
}

void TestToolkitControls::busyLeadingSpoke()
{
    QFETCH(qint64, elapsed);
    QTEST(widgets::busyLeadingSpoke(elapsed, 833), "spoke");
}

// The whole column as the viewer lays it out, saved at 2x for a person to
// look at.
void TestToolkitControls::controlColumnScreenshot()
{
    Window window({184, 430});
    Panel panel1(::panelLook(), &window);
    panel1.setGeometry(0, 0, 184, 430);
    Panel panel2(::panelLook(), &panel1);
    panel2.setGeometry(0, 0, 184, 361);
    PushButton quit(::buttonLook(), &panel2);
    quit.setGeometry(8, 8, 169, 41);
    quit.setText("終了");
    TextLabel label(::labelLook(), &panel2);
    label.setGeometry(8, 56, 169, 33);
    label.setText("画像の入ったフォルダをドラッグ＆ドロップすると表示します");
    PushButton before(::buttonLook(), &panel2);
    before.setGeometry(8, 96, 80, 49);
    before.setText("前へ");
    PushButton after(::buttonLook(), &panel2);
    after.setGeometry(96, 96, 80, 49);
    after.setText("次へ");
    ScrollBar vertical(Qt::Vertical, scrollBarLook(), &panel2);
    vertical.setGeometry(8, 161, 33, 152);
    vertical.setRange(-40, 40);
    ArcDial dial(::dialLook(), &panel2);
    dial.setGeometry(48, 208, 105, 105);
    dial.setValue(30);
    ScrollBar horizontal(Qt::Horizontal, scrollBarLook(), &panel2);
    horizontal.setGeometry(8, 320, 169, 33);
    horizontal.setRange(-30, 30);
    horizontal.setValue(10);
    BusyIndicator busy(busyLook(), &panel1);
    busy.setGeometry(67, 370, 50, 50);
    window.showActive();
    after.setFocus();

    const QImage image = window.grab().toImage();
    QVERIFY(near(image.pixelColor(90, 360), panelOutline, 1)); // Panel2's bottom line
    QVERIFY(near(image.pixelColor(90, 362), argb(0xFFECECEC), 3)); // Panel1's own gradient below it
    const QString path = QCoreApplication::applicationDirPath() + "/controls.png";
    QVERIFY(image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(path));
}

QTEST_MAIN(TestToolkitControls)
#include "test_toolkit_controls.moc"
