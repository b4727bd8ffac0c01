// The ring's pictures are decoded at the detail the view can show and
// decoded again when a zoom needs more: what the user sees stays what full
// decodes would show, and a file that changed meanwhile is never read again.
#include "platform/error_report.h"
#include "support/fixtures.h"
#include "support/permissions.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/scroll_bar.h"
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <sys/stat.h>

using frameprobe::colourAt;
using frameprobe::near;

namespace {

// Photo-like and large enough that the ring at 1x needs a quarter of it:
// gradients, waves some ten pixels long and grain, which a zoom shows
// blurred unless the picture is all there.
QImage detailed(int seed)
{
    QImage image(2400, 1800, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int wave = int(40 * std::sin(x * 0.3) * std::sin(y * 0.2 + seed));
            const int grain = int(random.bounded(20)) - 10;
            row[x] = qRgb(std::clamp(x * 200 / image.width() + wave + grain + 20, 0, 255),
                          std::clamp(y * 200 / image.height() - wave + grain + 20, 0, 255), 40 + seed * 20);
        }
    }
    return image;
}

// The largest difference of any channel between two frames, and how many
// pixels differ by more than a few levels.
struct Difference {
    int largest = 0;
    qint64 beyondFew = 0;
};

Difference difference(const QImage& a, const QImage& b)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            d.largest = std::max(d.largest, most);
            d.beyondFew += most > 8;
        }
    }
    return d;
}

// Gives every plane its picture decoded whole, as the ring showed them before
// it decoded at the detail needed.
void showFullDecodes(TForm1& form)
{
    const int n = form.stlf->count();
    for (int slot = 0; slot < 9; ++slot) {
        const image::PictureRead read =
            image::readPicture(form.stlf->at(ring::entryForSlot(slot, n)), form.Viewport3D1->maxTextureSide());
        form.imgs[slot]->setPicture(read.image, read.realSize);
    }
}

// Sixteen notches up (delta 120) zoom slot's plane to 4x; down, to 1x.
void wheelToFourTimes(TForm1& form, int slot, int delta = 120)
{
    const QPoint at = driver::slotCentre(form, slot);
    for (int i = 0; i < 16; ++i)
        driver::wheel(form, at, delta);
}

bool settled(const TForm1& form)
{
    return form.refinements().settled() && form.decodesAhead().settled();
}

// The frame of form, its front plane at 4x, is the one full decodes give to
// the same view of the same folder, but for a level or two where OpenGL
// rounds differently.
void expectFullDetail(TForm1& form, const std::string& folder)
{
    const std::unique_ptr<TForm1> whole = driver::startForm({folder});
    wheelToFourTimes(*whole, 0);
    whole->SB_H->setValue(form.SB_H->value());
    QTRY_VERIFY_WITH_TIMEOUT(settled(*whole), 20000);
    showFullDecodes(*whole);
    const Difference d = difference(driver::frame(form), driver::frame(*whole));
    QVERIFY2(d.largest <= 2, qPrintable(QString("%1 levels").arg(d.largest)));
}

}

class DetailTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QStringList reports;

    std::string folder(const std::string& name) const { return dir.path().toStdString() + "/" + name; }

private slots:
    void initTestCase()
    {
        const char* formats[] = {"jpg", "jpg", "png", "jpg", "bmp", "jpg", "png", "jpg", "bmp"};
        for (int i = 0; i < 9; ++i)
            fixtures::writeImage(folder("detailed/p" + std::to_string(i) + "." + formats[i]), detailed(i),
                                 QByteArray(formats[i]).toUpper().replace("JPG", "JPEG").constData());
        platform::Application::running().setBoxAnswerer([this](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });
    }

    void init() { reports.clear(); }

    // At 1x the ring from reduced decodes is the ring from full ones but for
    // the few levels DCT scaling and box filtering differ by; zoomed to 4x
    // the front plane gets its full detail back where the view shows it,
    // also after the camera moved, and at 1x again the finer part goes.
    void framesShowWhatFullDecodesShow()
    {
        const std::unique_ptr<TForm1> form = driver::startForm({folder("detailed")});
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        const QImage reduced = driver::frame(*form);
        showFullDecodes(*form);
        const Difference atOne = difference(reduced, driver::frame(*form));
        QVERIFY2(atOne.largest <= 40 && atOne.beyondFew * 200 < reduced.width() * reduced.height(),
                 qPrintable(QString("%1 levels, %2 pixels").arg(atOne.largest).arg(atOne.beyondFew)));

        const std::unique_ptr<TForm1> zoomed = driver::startForm({folder("detailed")});
        wheelToFourTimes(*zoomed, 0);
        QCOMPARE(zoomed->imgs[0]->scale().x, ring::maxZoom);
        QTRY_VERIFY_WITH_TIMEOUT(settled(*zoomed), 20000);
        const QRectF inset = zoomed->imgs[0]->insetPart();
        QVERIFY2(!inset.isEmpty() && inset.width() * inset.height() < 0.75,
                 qPrintable(QString("%1 x %2").arg(inset.width()).arg(inset.height())));
        expectFullDetail(*zoomed, folder("detailed"));

        zoomed->SB_H->setValue(zoomed->SB_H->value() + 15);
        QTRY_VERIFY_WITH_TIMEOUT(settled(*zoomed), 20000);
        QVERIFY(zoomed->imgs[0]->insetPart() != inset);
        expectFullDetail(*zoomed, folder("detailed"));

        zoomed->SB_H->setValue(zoomed->SB_H->value() - 15);
        wheelToFourTimes(*zoomed, 0, -120);
        QTRY_VERIFY_WITH_TIMEOUT(settled(*zoomed), 20000);
        QCOMPARE(zoomed->imgs[0]->insetPart(), QRectF());
    }

    // A zoom of the front plane decodes that plane again, no other: the
    // others hold the detail they need, whatever the largest texture the
    // device turned out to take, which is far above these pictures' size.
    void aZoomRedecodesOnlyTheZoomedPlane()
    {
        const std::unique_ptr<TForm1> form = driver::startForm({folder("detailed")});
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        wheelToFourTimes(*form, 0);
        QVERIFY(form->refinements().pending(0));
        for (int slot = 1; slot < 9; ++slot)
            QVERIFY2(!form->refinements().pending(slot), qPrintable(QString("slot %1").arg(slot)));
    }

    // The front plane's file changes after its picture was decoded; zooming
    // in must not read the new file: the plane keeps its picture, silently.
    void refinementsReadOnlyTheSameFile_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change : {"rewritten", "renamed over", "deleted", "unreadable"})
            QTest::newRow(change) << change;
    }

    void refinementsReadOnlyTheSameFile()
    {
        QFETCH(QString, change);
        const std::string ringFolder = folder("changing-" + change.toStdString());
        for (int i = 0; i < 9; ++i)
            fixtures::writePicture(ringFolder + "/p" + std::to_string(i) + ".png", QSize(2400, 1800), Qt::darkCyan);
        const std::unique_ptr<TForm1> form = driver::startForm({ringFolder});
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        const std::string front = ringFolder + "/p0.png";
        if (change == "rewritten") {
            fixtures::writePicture(front, QSize(2400, 1800), Qt::darkMagenta);
        } else if (change == "renamed over") {
            fixtures::writePicture(front + ".new", QSize(2400, 1800), Qt::darkMagenta);
            QCOMPARE(std::rename((front + ".new").c_str(), front.c_str()), 0);
        } else if (change == "deleted") {
            QCOMPARE(std::remove(front.c_str()), 0);
        } else {
            QCOMPARE(::chmod(front.c_str(), 0), 0);
        }
        {
            const ModesEnforced modes;
            wheelToFourTimes(*form, 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        QCOMPARE(reports, QStringList{});
        QCOMPARE(form->imgs[0]->pictureSize(), QSize(2400, 1800));
        const QColor seen = colourAt(driver::frame(*form), driver::slotCentre(*form, 0));
        QVERIFY2(near(seen, Qt::darkCyan), qPrintable(seen.name()));
    }

    // A drop loads the zoomed plane anew while its finer decode is under
    // way: that decode, of the picture it no longer shows, never arrives.
    void refinementsOfReplacedPicturesAreDropped()
    {
        for (int i = 0; i < 9; ++i) {
            fixtures::writePicture(folder("old/p" + std::to_string(i) + ".png"), QSize(2400, 1800), Qt::darkCyan);
            fixtures::writePicture(folder("new/p" + std::to_string(i) + ".png"), QSize(2400, 1800), Qt::darkYellow);
        }
        const std::unique_ptr<TForm1> form = driver::startForm({folder("old")});
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        wheelToFourTimes(*form, 0);
        QVERIFY(!form->refinements().settled());
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder("new")))});
        form->DragDrop(dropped);
        QTRY_VERIFY_WITH_TIMEOUT(settled(*form), 20000);
        QCOMPARE(reports, QStringList{});
        const QColor seen = colourAt(driver::frame(*form), driver::slotCentre(*form, 0));
        QVERIFY2(near(seen, Qt::darkYellow), qPrintable(seen.name()));
    }
};

VIEWER_TEST_MAIN(DetailTest)
#include "test_detail.moc"
