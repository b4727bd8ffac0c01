// Which mipmap level a frame needs at the finest: the texel-to-pixel ratio
// where the square shows most magnified, less one level in hand; and the
// levels a picture carries.
#include "image/mip_picture.h"
#include "view3d/texture_detail.h"
#include <QRandomGenerator>
#include <QtTest>

using namespace view3d;

// Lays the unit square flat over a viewport of pixels: its corners on the
// viewport's corners, or scaled by zoom about the centre.
static QMatrix4x4 flat(float zoomX = 1, float zoomY = 1)
{
    QMatrix4x4 m;
    m.scale(2 * zoomX, 2 * zoomY);
    return m;
}

// The unit square distance units in front of a 45-degree camera, face on.
static QMatrix4x4 ahead(float distance)
{
    QMatrix4x4 m;
    m.perspective(45, 1, 1, 1000);
    m.translate(0, 0, -distance);
    return m;
}

class TextureDetailTest : public QObject {
    Q_OBJECT

private slots:
    void finestLevel_data()
    {
        QTest::addColumn<QMatrix4x4>("squareToClip");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<QSize>("texture");
        QTest::addColumn<int>("level");
        const QSize view(600, 400);
        QTest::newRow("one texel per pixel") << flat() << view << QSize(600, 400) << 0;
        QTest::newRow("magnified") << flat() << view << QSize(60, 40) << 0;
        QTest::newRow("sixteen texels per pixel") << flat() << view << QSize(9600, 6400) << 3;
        QTest::newRow("just short of sixteen") << flat() << view << QSize(9500, 6300) << 2;
        QTest::newRow("the denser direction counts") << flat() << view << QSize(9600, 400) << 3;
        QTest::newRow("squeezed across") << flat(0.0625f, 1) << view << QSize(600, 400) << 3;
        QTest::newRow("no finer than the last level") << flat(0.0001f, 0.0001f) << view << QSize(64, 64) << 6;
        QMatrix4x4 throughTheEye = ahead(0.1f);
        throughTheEye.rotate(80, 0, 1, 0);
        QTest::newRow("partly behind the eye") << throughTheEye << view << QSize(4096, 4096) << 0;
        QTest::newRow("behind the eye") << ahead(-5) << view << QSize(4096, 4096) << 0;
        QTest::newRow("far ahead") << ahead(100) << QSize(600, 600) << QSize(4096, 4096) << 8;
        QTest::newRow("no viewport") << flat() << QSize() << QSize(4096, 4096) << 0;
    }
    void finestLevel()
    {
        QFETCH(QMatrix4x4, squareToClip);
        QFETCH(QSize, viewport);
        QFETCH(QSize, texture);
        QFETCH(int, level);
        QCOMPARE(finestLevelNeeded(squareToClip, viewport, texture), level);
    }

    // The part of the square in the view, as fractions of the picture from
    // its top-left corner, whatever the camera does with it.
    void visibleParts_data()
    {
        QTest::addColumn<QMatrix4x4>("squareToClip");
        QTest::addColumn<QRectF>("part");
        QTest::newRow("all of it") << flat() << QRectF(0, 0, 1, 1);
        QTest::newRow("zoomed 4x about the centre") << flat(4, 4) << QRectF(0.375, 0.375, 0.25, 0.25);
        QMatrix4x4 aside;
        aside.translate(1, 0.5f, 0);
        aside.scale(4, 4);
        QTest::newRow("moved aside and up") << aside << QRectF(0, 0.125, 0.5, 0.5);
        QMatrix4x4 away;
        away.translate(3, 0, 0);
        away.scale(2, 2);
        QTest::newRow("out of the view") << away << QRectF();
        // Four units wide two units ahead: the 45-degree view sees
        // 2 tan(22.5) of its sides' four units on each side of the centre.
        QMatrix4x4 near = ahead(2);
        near.scale(4, 4);
        const double seen = std::tan(qDegreesToRadians(22.5)) / 2;
        QTest::newRow("in perspective") << near << QRectF(0.5 - seen, 0.5 - seen, 2 * seen, 2 * seen);
        QTest::newRow("behind the eye") << ahead(-5) << QRectF();
        // The square drawn over a part of a square that fills the view is
        // seen whole, and no more.
        const QRectF part(0.25, 0.5, 0.5, 0.25);
        QTest::newRow("over a part") << flat() * squareOnPart(part) << QRectF(0, 0, 1, 1);
        QTest::newRow("over a part, zoomed") << flat(4, 4) * squareOnPart(part) << QRectF(0.25, 0, 0.5, 0.5);
    }
    void visibleParts()
    {
        QFETCH(QMatrix4x4, squareToClip);
        QFETCH(QRectF, part);
        const QRectF seen = visiblePart(squareToClip);
        QCOMPARE(seen.isEmpty(), part.isEmpty());
        const auto near = [](double a, double b) { return std::abs(a - b) < 1e-5; };
        if (!part.isEmpty())
            QVERIFY2(near(seen.left(), part.left()) && near(seen.top(), part.top()) && near(seen.right(), part.right())
                         && near(seen.bottom(), part.bottom()),
                     qPrintable(QString("%1 %2 %3 %4").arg(seen.left()).arg(seen.top()).arg(seen.width()).arg(seen.height())));
    }

    // The first level below a large picture is made on two threads, each
    // taking half its rows (an odd count here); every level must be the
    // one a single thread makes, each pixel the average of the four above.
    void levelsOnTwoThreadsEqualOne()
    {
        QImage picture(1401, 903, image::pictureFormat);
        QRandomGenerator random(3);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, random.generate() | 0xff000000u);
        const image::MipPicture one(picture, 1), two(picture, 2);
        QCOMPARE(two.levelCount(), 11); // 1401 x 903 down to 1 x 1
        for (int i = 0; i < one.levelCount(); ++i)
            QVERIFY2(two.level(i) == one.level(i), qPrintable(QString("level %1").arg(i)));
        const QColor averaged = two.level(1).pixelColor(350, 450);
        int red = 0;
        for (const QPoint p : {QPoint(700, 900), QPoint(701, 900), QPoint(700, 901), QPoint(701, 901)})
            red += picture.pixelColor(p).red();
        QVERIFY(std::abs(averaged.red() - red / 4) <= 1);
    }
};

QTEST_MAIN(TextureDetailTest)
#include "test_toolkit_texture_detail.moc"
