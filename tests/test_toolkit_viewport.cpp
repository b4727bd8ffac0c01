// The 3D view drawing and picking the viewer's ring: nine slot nodes turned
// 40 degrees apart about Y, each holding a 4 x 3 plane 7 units out, seen by a
// camera 16 units in front of the centre, in a 616 x 600 view.
#include "support/fixtures.h"
#include "support/frame_probe.h"
#include "view3d/viewport3d.h"
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace view3d;
using frameprobe::colourAt;
using frameprobe::near;

static Vec3 vec(QVector3D v)
{
    return {v.x(), v.y(), v.z()};
}

static bool near(QVector3D a, QVector3D b)
{
    return (a - b).length() < 1e-4f;
}

static QString describe(QVector3D v)
{
    return QString("(%1, %2, %3)").arg(v.x()).arg(v.y()).arg(v.z());
}

static QImage premultiplied(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

static QImage solid(QColor colour)
{
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// Each slot's own colour, so a frame tells which plane is where.
static QColor slotColour(int slot)
{
    return QColor::fromHsv(slot * 40, 255, 255);
}

class ViewportTest : public QObject {
    Q_OBJECT

    enum Change { TurnRing, ResizePlane, SetPicture };
    Viewport3D view;
    Camera* camera = nullptr;
    Node* ring = nullptr;
    Node* slotNodes[9] = {};
    PicturePlane* planes[9] = {};

    // Where a point of a plane, in the plane's own coordinates, shows.
    QPointF onScreen(int slot, float x, float y) const
    {
        return view.project(planes[slot]->worldMatrix().map(QVector3D(x, y, 0)));
    }
    int slotOf(const PicturePlane* plane) const
    {
        const auto* found = std::find(std::begin(planes), std::end(planes), plane);
        return found == std::end(planes) ? -1 : int(found - std::begin(planes));
    }
    void startPosition()
    {
        camera->setPosition({0, 0, -16});
        ring->setRotation({});
        for (int i = 0; i < 9; ++i) {
            slotNodes[i]->setRotation({0, -40.0f * i, 0});
            planes[i]->setRotation({});
            planes[i]->setScale({1, 1, 1});
            planes[i]->setWidth(4);
            planes[i]->setHeight(3);
            planes[i]->setPicture(QImage());
            planes[i]->onWheel = nullptr;
        }
    }

private slots:
    void initTestCase()
    {
        camera = view.root().addChild(std::make_unique<Camera>());
        view.setCamera(camera);
        ring = view.root().addChild(std::make_unique<Node>());
        for (int i = 0; i < 9; ++i) {
            slotNodes[i] = ring->addChild(std::make_unique<Node>());
            planes[i] = slotNodes[i]->addChild(std::make_unique<PicturePlane>());
            planes[i]->setPosition({0, 0, -7});
        }
        startPosition();
        view.resize(616, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    void cleanup() { startPosition(); }

    void nodesApplyScaleThenTurnThenMove_data()
    {
        QTest::addColumn<QVector3D>("position");
        QTest::addColumn<QVector3D>("rotation");
        QTest::addColumn<QVector3D>("scale");
        QTest::addColumn<QVector3D>("point");
        QTest::addColumn<QVector3D>("expected");
        const QVector3D none, one(1, 1, 1);
        QTest::newRow("turn about X tilts +Z up") << none << QVector3D(90, 0, 0) << one << QVector3D(0, 0, 1) << QVector3D(0, -1, 0);
        QTest::newRow("turn about Y carries +Z right") << none << QVector3D(0, 90, 0) << one << QVector3D(0, 0, 1) << QVector3D(1, 0, 0);
        QTest::newRow("turn about Z carries +X down") << none << QVector3D(0, 0, 90) << one << QVector3D(1, 0, 0) << QVector3D(0, 1, 0);
        QTest::newRow("scale, turn, move") << QVector3D(1, 2, 3) << QVector3D(0, 90, 0) << QVector3D(2, 1, 1) << QVector3D(1, 0, 0) << QVector3D(1, 2, 1);
    }
    void nodesApplyScaleThenTurnThenMove()
    {
        QFETCH(QVector3D, position);
        QFETCH(QVector3D, rotation);
        QFETCH(QVector3D, scale);
        QFETCH(QVector3D, point);
        QFETCH(QVector3D, expected);
        Node node;
        node.setPosition(vec(position));
        node.setRotation(vec(rotation));
        node.setScale(vec(scale));
        const QVector3D got = node.localMatrix().map(point);
        QVERIFY2(near(got, expected), qPrintable(describe(got)));
    }

    void childrenMoveWithTheirParents_data()
    {
        QTest::addColumn<float>("ringTurn");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVector3D>("centre");
        const float s = 7 * std::sin(qDegreesToRadians(40.0f)), c = 7 * std::cos(qDegreesToRadians(40.0f));
        QTest::newRow("front slot") << 0.0f << 0 << QVector3D(0, 0, -7);
        QTest::newRow("right neighbour") << 0.0f << 1 << QVector3D(s, 0, -c);
        QTest::newRow("left neighbour") << 0.0f << 8 << QVector3D(-s, 0, -c);
        QTest::newRow("ring turned one slot") << 40.0f << 1 << QVector3D(0, 0, -7);
        QTest::newRow("ring turned one slot, old front") << 40.0f << 0 << QVector3D(-s, 0, -c);
    }
    void childrenMoveWithTheirParents()
    {
        QFETCH(float, ringTurn);
        QFETCH(int, slot);
        QFETCH(QVector3D, centre);
        ring->setRotation({0, ringTurn, 0});
        const QVector3D got = planes[slot]->worldMatrix().map(QVector3D());
        QVERIFY2(near(got, centre), qPrintable(describe(got)));
    }

    // On the blank ring: white planes on black, picked where they show.
    void pickingFindsWhatShows_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("slot");
        const auto between = [](QPointF a, QPointF b) { return (a + b) / 2; };
        QTest::newRow("centre") << QPointF(308, 300) << 0;
        QTest::newRow("front, near its corner") << onScreen(0, 1.9f, 1.4f) << 0;
        QTest::newRow("right neighbour") << onScreen(1, 0, 0) << 1;
        QTest::newRow("left neighbour") << onScreen(8, 0, 0) << 8;
        QTest::newRow("back beyond the right gap") << between(onScreen(0, 2, 0), onScreen(1, -2, 0)) << 3;
        QTest::newRow("back beyond the left gap") << between(onScreen(0, -2, 0), onScreen(8, 2, 0)) << 6;
        QTest::newRow("above the front plane") << onScreen(0, 0, -2.5f) << -1;
        QTest::newRow("below the right gap") << between(onScreen(0, 2, 1.4f), onScreen(1, -2, 1.4f)) << -1;
    }
    void pickingFindsWhatShows()
    {
        QFETCH(QPointF, point);
        QFETCH(int, slot);
        const QImage frame = view.grabFramebuffer();
        QCOMPARE(slotOf(view.planeAt(point)), slot);
        const QColor expected = slot < 0 ? QColor(Qt::black) : QColor(Qt::white);
        QVERIFY2(near(colourAt(frame, point), expected, 8), qPrintable(colourAt(frame, point).name()));
    }

    // Colours seen just up-left, up-right, down-left and down-right of the
    // front plane's centre, with the plane turned within its slot.
    void picturesShowUprightInFrontAndMirroredBehind_data()
    {
        QTest::addColumn<QVector3D>("turn");
        QTest::addColumn<QList<QColor>>("colours");
        const QColor r = Qt::red, g = Qt::green, b = Qt::blue, y = Qt::yellow;
        QTest::newRow("front") << QVector3D(0, 0, 0) << QList<QColor>{r, g, b, y};
        QTest::newRow("back, half turn about Y") << QVector3D(0, 180, 0) << QList<QColor>{g, r, y, b};
        QTest::newRow("back, half turn about X") << QVector3D(180, 0, 0) << QList<QColor>{b, y, r, g};
        QTest::newRow("front, rolled clockwise") << QVector3D(0, 0, 90) << QList<QColor>{b, r, y, g};
    }
    void picturesShowUprightInFrontAndMirroredBehind()
    {
        QFETCH(QVector3D, turn);
        QFETCH(QList<QColor>, colours);
        planes[0]->setPicture(premultiplied(fixtures::quadrantImage(QSize(64, 48))));
        planes[0]->setRotation(vec(turn));
        const QImage frame = view.grabFramebuffer();
        const QPointF centre = onScreen(0, 0, 0);
        const QPointF probes[] = {{-30, -30}, {30, -30}, {-30, 30}, {30, 30}};
        for (int i = 0; i < 4; ++i) {
            const QColor seen = colourAt(frame, centre + probes[i]);
            QVERIFY2(near(seen, colours[i], 8), qPrintable(QString("probe %1 sees %2").arg(i).arg(seen.name())));
        }
    }

    void ringFillsTheViewAsTheViewerShowsIt()
    {
        for (PicturePlane* plane : planes)
            plane->setPicture(premultiplied(fixtures::quadrantImage(QSize(64, 48))));
        const QImage frame = view.grabFramebuffer();
        frame.save(QCoreApplication::applicationDirPath() + "/ring.png");

        // The front plane: about 52 % of the width and 40 % of the height.
        const double width = frameprobe::litRun(frame, onScreen(0, 0, -0.75f), Qt::Horizontal);
        const double height = frameprobe::litRun(frame, onScreen(0, -1, 0), Qt::Vertical);
        QCOMPARE_LT(qAbs(width / 616 - 0.52), 0.01);
        QCOMPARE_LT(qAbs(height / 600 - 0.40), 0.01);
        QCOMPARE(onScreen(0, 0, 0), QPointF(308, 300));

        // The neighbours are cut in half by the edges.
        QCOMPARE_LT(qAbs(onScreen(1, 0, 0).x() - 616), 616 * 0.02);
        QCOMPARE_LT(qAbs(onScreen(8, 0, 0).x()), 616 * 0.02);
        for (QPointF edge : {QPointF(615, 300), QPointF(0, 300)})
            QCOMPARE_NE(colourAt(frame, edge), QColor(Qt::black));
    }

    void pickingMatchesTheFrame_data()
    {
        QTest::addColumn<float>("ringTurn");
        QTest::addColumn<QVector3D>("cameraAt");
        QTest::addColumn<int>("centreSlot");
        QTest::newRow("start") << 0.0f << QVector3D(0, 0, -16) << 0;
        QTest::newRow("ring turned one slot on") << 40.0f << QVector3D(0, 0, -16) << 1;
        QTest::newRow("ring turned two slots back") << -80.0f << QVector3D(0, 0, -16) << 7;
        QTest::newRow("camera moved right") << 0.0f << QVector3D(5, 0, -16) << 1;
        QTest::newRow("camera moved closer") << 0.0f << QVector3D(0, 0, -10) << 0;
        QTest::newRow("camera above the planes") << 0.0f << QVector3D(0, -2, -16) << -1;
    }
    // Across the whole view, the plane picked at a point is the one whose
    // colour the frame shows there.
    void pickingMatchesTheFrame()
    {
        QFETCH(float, ringTurn);
        QFETCH(QVector3D, cameraAt);
        QFETCH(int, centreSlot);
        for (int i = 0; i < 9; ++i)
            planes[i]->setPicture(solid(slotColour(i)));
        ring->setRotation({0, ringTurn, 0});
        camera->setPosition(vec(cameraAt));
        const QImage frame = view.grabFramebuffer();
        QCOMPARE(slotOf(view.planeAt(QPointF(308, 300))), centreSlot);

        const auto colourPicked = [&](QPointF p) {
            const int slot = slotOf(view.planeAt(p));
            return slot < 0 ? QColor(Qt::black) : slotColour(slot);
        };
        // Along an edge a pixel blends what its samples hit; compare only
        // where the neighbouring pixels pick the same plane.
        const auto awayFromEdges = [&](QPointF p) {
            const PicturePlane* plane = view.planeAt(p);
            for (QPointF d : {QPointF(-1, -1), QPointF(1, -1), QPointF(-1, 1), QPointF(1, 1)})
                if (view.planeAt(p + d) != plane)
                    return false;
            return true;
        };
        int probes = 0, compared = 0;
        for (int y = 4; y < 600; y += 16) {
            for (int x = 4; x < 616; x += 16, ++probes) {
                const QPointF p(x + 0.5, y + 0.5); // the pixel's centre, where it was drawn
                if (!awayFromEdges(p))
                    continue;
                ++compared;
                const QColor seen = colourAt(frame, p);
                QVERIFY2(near(seen, colourPicked(p), 2),
                    qPrintable(QString("at %1,%2 the frame shows %3, picking says %4")
                                   .arg(x).arg(y).arg(seen.name(), colourPicked(p).name())));
            }
        }
        QCOMPARE_GT(compared, probes * 9 / 10);
    }

    // Over the black background, a half-transparent red keeps half its red:
    // the pixels reach the screen premultiplied, as the picture holds them.
    void translucentPicturesBlendPremultiplied()
    {
        planes[0]->setPicture(solid(QColor(255, 0, 0, 128)));
        const QColor seen = colourAt(view.grabFramebuffer(), QPointF(308, 300));
        QVERIFY2(near(seen, QColor(128, 0, 0), 2), qPrintable(seen.name()));
    }

    void largePicturesSeenSmallShowTheirAverage()
    {
        QImage checks(512, 512, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                checks.setPixel(x, y, (x + y) % 2 ? 0xffffffff : 0xff000000);
        planes[0]->setPicture(checks);
        camera->setPosition({0, 0, -400}); // the plane shrinks to about 7 pixels
        const QImage frame = view.grabFramebuffer();
        for (QPointF p : {QPointF(307, 299), QPointF(308, 300), QPointF(309, 301)}) {
            const QColor seen = colourAt(frame, p);
            QVERIFY2(near(seen, QColor(128, 128, 128), 24), qPrintable(seen.name()));
        }
    }

    // A picture seen small goes up without its finest levels; a frame that
    // shows it large needs them and gets them before it is drawn.
    void detailComesWhenAFrameNeedsIt()
    {
        QImage stripes(4096, 4096, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < stripes.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(stripes.scanLine(y));
            for (int x = 0; x < stripes.width(); ++x)
                row[x] = x % 2 ? 0xffffffff : 0xff000000;
        }
        planes[0]->setPicture(stripes);
        const QColor small = colourAt(view.grabFramebuffer(), QPointF(308, 300));
        QVERIFY2(near(small, QColor(128, 128, 128), 24), qPrintable(small.name()));

        planes[0]->setScale({120, 120, 1}); // some nine pixels to a stripe
        const QImage large = view.grabFramebuffer();
        int darkest = 255, lightest = 0;
        for (int x = 300; x < 316; ++x) {
            const int grey = qGray(colourAt(large, QPointF(x, 300)).rgb());
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
        QVERIFY2(darkest < 64 && lightest > 192, qPrintable(QString("%1..%2").arg(darkest).arg(lightest)));
    }

    // However much finer detail a texture holds than a frame samples, the
    // frame is the same: the ring drawn with the least detail it needs
    // equals the ring drawn once every level is up.
    void framesDoNotDependOnTheDetailHeld()
    {
        QRandomGenerator random(7);
        for (PicturePlane* plane : planes) {
            QImage noise(2048, 1536, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < noise.height(); ++y) {
                auto* row = reinterpret_cast<quint32*>(noise.scanLine(y));
                for (int x = 0; x < noise.width(); ++x)
                    row[x] = random.generate() | 0xff000000;
            }
            plane->setPicture(noise);
        }
        ring->setRotation({0, 20, 0}); // every plane at a slant
        const QImage least = view.grabFramebuffer();
        for (PicturePlane* plane : planes)
            plane->setScale({40, 40, 1}); // each needs its finest level now
        view.grabFramebuffer();
        for (PicturePlane* plane : planes)
            plane->setScale({1, 1, 1});
        const QImage every = view.grabFramebuffer();
        QCOMPARE(least.size(), every.size());
        int differing = 0;
        for (int y = 0; y < least.height(); ++y)
            for (int x = 0; x < least.width(); ++x)
                differing += least.pixel(x, y) != every.pixel(x, y);
        QCOMPARE(differing, 0);
    }

    void sceneChangesRepaintTheView_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("ring turned") << int(TurnRing);
        QTest::newRow("plane resized") << int(ResizePlane);
        QTest::newRow("picture set") << int(SetPicture);
    }
    void sceneChangesRepaintTheView()
    {
        QFETCH(int, change);
        QSignalSpy frames(&view, &Viewport3D::frameSwapped);
        frames.wait(200); // let the repaint of the last reset pass
        frames.clear();
        switch (change) {
        case TurnRing: ring->setRotation({0, 10, 0}); break;
        case ResizePlane: planes[4]->setWidth(2); break;
        case SetPicture: planes[4]->setPicture(solid(Qt::red)); break;
        }
        QVERIFY(frames.wait(2000));
    }

    // A step draws each of its ten ticks at once, one after the other,
    // without a turn of the event loop between them.
    void drawNowPutsEachFrameOnTheScreen()
    {
        QSignalSpy frames(&view, &Viewport3D::frameSwapped);
        for (int tick = 1; tick <= 10; ++tick) {
            const qsizetype before = frames.count();
            ring->setRotation({0, 4.0f * tick, 0});
            view.drawNow();
            QCOMPARE_GT(frames.count(), before);
        }
    }

    void wheelGoesToThePlaneUnderThePointer_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("slot");
        QTest::newRow("front plane") << onScreen(0, 1, 1) << 0;
        QTest::newRow("right neighbour") << onScreen(1, 0, 0) << 1;
        QTest::newRow("background") << onScreen(0, 0, -2.5f) << -1;
    }
    void wheelGoesToThePlaneUnderThePointer()
    {
        QFETCH(QPointF, point);
        QFETCH(int, slot);
        int turned = -1;
        for (PicturePlane* plane : planes)
            plane->onWheel = [&](PicturePlane& p, QWheelEvent&) { turned = slotOf(&p); };
        const auto notch = [&] {
            return QWheelEvent(point, view.mapToGlobal(point), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
        };
        QWheelEvent wheel = notch();
        QApplication::sendEvent(&view, &wheel);
        QCOMPARE(turned, slot);
        QCOMPARE(wheel.isAccepted(), slot >= 0);

        // The same through the window, as the platform delivers it: past
        // the surface the frames go to, to the view.
        turned = -1;
        QWheelEvent routed = notch();
        QApplication::sendEvent(view.windowHandle(), &routed);
        QCOMPARE(turned, slot);
    }
};

QTEST_MAIN(ViewportTest)
#include "test_toolkit_viewport.moc"
