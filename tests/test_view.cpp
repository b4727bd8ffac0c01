// Zoom by the wheel over the plane under the pointer, roll by the dial, and
// the camera moved by the scroll bars, all through real input events.
#include "support/fixtures.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/arc_dial.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include <QTemporaryDir>
#include <QtTest>

using frameprobe::colourAt;
using frameprobe::near;
using driver::onScreen;
using driver::resetZoom;
using driver::wheel;
using driver::zoomed;
using fixtures::slotColour;

class View : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    std::unique_ptr<TForm1> startWithQuadrants()
    {
        for (int k = 0; k < 9; ++k)
            fixtures::writeImage(dir.path().toStdString() + "/q" + std::to_string(k) + ".png",
                                 fixtures::quadrantImage(QSize(400, 300)));
        return driver::startForm({dir.path().toStdString()});
    }

private slots:
    // With nine solid pictures slot i shows colour i, so the frame tells
    // which plane is visible at a point, and the wheel must zoom that one.
    void wheelZoomsThePlaneUnderThePointer()
    {
        for (int k = 0; k < 9; ++k)
            fixtures::writePicture(dir.path().toStdString() + "/s" + std::to_string(k) + ".png", QSize(400, 300),
                                   slotColour(k));
        auto form = driver::startForm({dir.path().toStdString()});
        const QImage frame = driver::frame(*form);
        const int row = onScreen(*form, 0, 0, 0).toPoint().y();
        // The first pixel of slot's colour on the centre row, scanning from x.
        auto firstOf = [&](int slot, int from, int step) {
            for (int x = from; x >= 0 && x < 616; x += step)
                if (near(colourAt(frame, QPoint(x, row)), slotColour(slot), 6))
                    return QPoint(x + 2 * step, row);
            return QPoint(-1, -1);
        };
        const QPoint frontRight = onScreen(*form, 0, 2, 0).toPoint();
        const QPoint frontLeft = onScreen(*form, 0, -2, 0).toPoint();
        struct Case {
            QPoint at;
            QList<int> expected;
        };
        const QList<Case> cases = {
            {onScreen(*form, 0, 0, 0).toPoint(), {0}},
            {onScreen(*form, 0, 1.9f, 1.4f).toPoint(), {0}},
            {QPoint(605, row), {1}},
            {QPoint(10, row), {8}},
            {firstOf(3, frontRight.x(), 1), {3}}, // mirrored backs beside the front plane
            {firstOf(6, frontLeft.x(), -1), {6}},
            {QPoint(308, 20), {}}, // black background above the ring
        };
        for (const Case& c : cases) {
            QVERIFY(c.at.x() >= 0);
            resetZoom(*form);
            wheel(*form, c.at, 120);
            QCOMPARE(zoomed(*form), c.expected);
        }

        // After a turn and a camera move the pick follows the projection.
        resetZoom(*form);
        QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        form->SB_H->setValue(20);
        const QPoint at = onScreen(*form, 1, 0.5f, 0.5f).toPoint();
        QVERIFY(near(colourAt(driver::frame(*form), at), slotColour(1), 6));
        wheel(*form, at, 120);
        QCOMPARE(zoomed(*form), QList<int>{1});
    }

    void zoomSteps()
    {
        auto form = startWithQuadrants();
        const QPoint centre = onScreen(*form, 0, 0, 0).toPoint();
        wheel(*form, centre, -120);
        QCOMPARE(form->imgs[0]->scale().x, 1.0f);
        wheel(*form, centre, 0);
        QCOMPARE(form->imgs[0]->scale().x, 1.1f);
        wheel(*form, centre, -1);
        QCOMPARE(form->imgs[0]->scale().x, 1.0f);
        // A touchpad's gesture start and end carry no movement: no zoom.
        wheel(*form, centre, 0, Qt::ScrollBegin);
        wheel(*form, centre, 0, Qt::ScrollEnd);
        QCOMPARE(form->imgs[0]->scale().x, 1.0f);
        // A pixel above the picture is background until the plane grows.
        const QPoint beyond = onScreen(*form, 0, 0.5f, -1.8f).toPoint();
        QVERIFY(near(colourAt(driver::frame(*form), beyond), Qt::black, 8));
        for (int i = 0; i < 15; ++i)
            wheel(*form, centre, 120);
        const view3d::Vec3 s = form->imgs[0]->scale();
        QCOMPARE(s.x, 4.0f);
        QCOMPARE(s.y, 4.0f);
        QCOMPARE(s.z, 4.0f);
        QVERIFY(near(colourAt(driver::frame(*form), beyond), Qt::green));
    }

    void dialSnapsBackBeforeAnyPicture()
    {
        auto form = driver::startForm({});
        const QPoint c = form->ArcDial1->rect().center();
        QTest::mousePress(form->ArcDial1, Qt::LeftButton, {}, c + QPoint(30, 0));
        QTest::mouseMove(form->ArcDial1, c + QPoint(0, -30));
        QTest::mouseRelease(form->ArcDial1, Qt::LeftButton, {}, c + QPoint(0, -30));
        QCOMPARE(form->ArcDial1->value(), 0.0);
        QCOMPARE(form->ArcDial1->valueText(form->ArcDial1->value()), QString("0°"));
    }

    void dialRollsTheFrontPicture()
    {
        auto form = startWithQuadrants();
        const QPoint c = form->ArcDial1->rect().center();
        QTest::mousePress(form->ArcDial1, Qt::LeftButton, {}, c + QPoint(30, 0));
        QTest::mouseMove(form->ArcDial1, c + QPoint(0, -30));
        QTest::mouseRelease(form->ArcDial1, Qt::LeftButton, {}, c + QPoint(0, -30));
        QVERIFY(std::abs(form->ArcDial1->value() - 90) < 1.5);
        QCOMPARE(form->imgs[0]->rotation().z, float(-form->ArcDial1->value()));
        // A quarter turn counter-clockwise on the screen: the picture's red
        // top-left quarter is now at the bottom left.
        const QImage frame = driver::frame(*form);
        auto at = [&](float x, float y) { return form->Viewport3D1->project(QVector3D(x, y, -7)).toPoint(); };
        QVERIFY(near(colourAt(frame, at(-0.75f, 1.0f)), Qt::red));
        QVERIFY(near(colourAt(frame, at(-0.75f, -1.0f)), Qt::green));
        QVERIFY(near(colourAt(frame, at(0.75f, 1.0f)), Qt::blue));
    }

    void scrollBarsMoveTheCamera()
    {
        auto form = startWithQuadrants();
        const QRect h = form->SB_H->rect();
        QTest::mouseClick(form->SB_H, Qt::LeftButton, {}, QPoint(h.right() - 5, h.center().y()));
        QCOMPARE(form->SB_H->value(), 1.0);
        QCOMPARE(form->Camera1->position().x, 0.1f);
        QCOMPARE(form->Camera1->rotation().x, 0.0f);

        // A press at the top of SB_V's track jumps to its minimum.
        const QRect v = form->SB_V->rect();
        QTest::mouseClick(form->SB_V, Qt::LeftButton, {}, QPoint(v.center().x(), 19));
        QCOMPARE(form->SB_V->value(), -40.0);
        QCOMPARE(form->Camera1->position().y, -4.0f);
        QVERIFY(std::abs(form->Camera1->rotation().x - -14.036243f) < 1e-3f);
        QCOMPARE(form->Camera1->rotation().y, 0.0f);
        // The camera still looks at the height of the ring's centre.
        const QPointF centre = form->Viewport3D1->project(QVector3D(0, 0, 0));
        QVERIFY(std::abs(centre.y() - form->Viewport3D1->height() / 2.0) < 1.0);
        // The camera moved up, so the front plane appears lower than before.
        const QPointF front = form->Viewport3D1->project(QVector3D(0, 0, -7));
        QVERIFY(front.y() > form->Viewport3D1->height() / 2.0 + 5);
    }
};

VIEWER_TEST_MAIN(View)
#include "test_view.moc"
