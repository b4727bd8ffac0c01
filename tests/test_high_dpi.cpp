// At a device pixel ratio of 2 the window keeps its logical layout, the 3D
// view draws at device resolution, and the wheel still reaches the plane that
// is drawn under the pointer.
#include "support/fixtures.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/panel.h"
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using driver::onScreen;
using fixtures::slotColour;
using frameprobe::colourAt;
using frameprobe::near;

class HighDpi : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;

private slots:
    // Nine solid pictures, so slot k shows colour k. Their height makes the
    // front plane's top edge fall inside a logical pixel, where a frame drawn
    // at logical resolution and scaled up would smear it over two device rows.
    void initTestCase()
    {
        for (int k = 0; k < 9; ++k)
            fixtures::writePicture(dir.path().toStdString() + "/s" + std::to_string(k) + ".png", QSize(400, 297),
                                   slotColour(k));
        form = driver::startForm({dir.path().toStdString()});
    }

    void cleanupTestCase() { form.reset(); }

    void layoutStaysLogical()
    {
        QCOMPARE(form->devicePixelRatio(), 2.0);
        QCOMPARE(form->size(), QSize(800, 600));
        QCOMPARE(form->Panel1->geometry(), QRect(616, 0, 184, 600));
        QCOMPARE(form->Viewport3D1->geometry(), QRect(0, 0, 616, 600));
    }

    void viewDrawsAtDeviceResolution()
    {
        const QImage frame = driver::frame(*form);
        QCOMPARE(frame.size(), QSize(1232, 1200));
        QCOMPARE(frame.devicePixelRatio(), 2.0);
        QVERIFY(near(colourAt(frame, onScreen(*form, 0, 0, 0).toPoint()), slotColour(0), 6));

        // Down the front plane's middle: black above its top edge, the
        // picture from the first device row wholly below it.
        const QPointF edge = onScreen(*form, 0, 0, -form->imgs[0]->height() / 2);
        const double fraction = edge.y() - std::floor(edge.y());
        QVERIFY2(fraction > 0.2 && fraction < 0.8, "the fixture's top edge must fall inside a logical pixel");
        const int x = qRound(edge.x() * 2);
        const double y = edge.y() * 2;
        QVERIFY(near(frame.pixelColor(x, int(std::floor(y)) - 1), Qt::black, 8));
        QVERIFY(near(frame.pixelColor(x, int(std::ceil(y))), slotColour(0), 6));
    }

    // The wheel over the front plane, over both neighbours and over the
    // background zooms the plane drawn there, or none.
    void wheelZoomsThePlaneDrawnUnderThePointer()
    {
        const QImage frame = driver::frame(*form);
        struct Case {
            QPointF at;
            QList<int> expected;
        };
        const QList<Case> cases = {
            {onScreen(*form, 0, 0, 0), {0}},
            {onScreen(*form, 0, 1.8f, 1.2f), {0}},
            {onScreen(*form, 1, -1, 0), {1}},
            {onScreen(*form, 8, 1, 0), {8}},
            {QPointF(308, 20), {}},
        };
        for (const Case& c : cases) {
            const QPoint at = c.at.toPoint();
            const QColor drawn = c.expected.isEmpty() ? QColor(Qt::black) : slotColour(c.expected[0]);
            QVERIFY(near(colourAt(frame, at), drawn, 6));
            driver::resetZoom(*form);
            driver::wheel(*form, at, 120);
            QCOMPARE(driver::zoomed(*form), c.expected);
        }
    }
};

int main(int argc, char** argv)
{
    // Qt reads the scale factor once, when the application starts. Under
    // Wayland the compositor's output scale gives the ratio instead, as a
    // desktop's does (tests/CMakeLists.txt starts weston with scale 2).
    if (qgetenv("QT_QPA_PLATFORM") != "wayland")
        qputenv("QT_SCALE_FACTOR", "2");
    platform::Application app(argc, argv);
    HighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_dpi.moc"
