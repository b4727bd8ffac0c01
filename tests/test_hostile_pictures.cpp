// Damaged and hostile picture files (tests/hostile/corpus.h) loaded the way a
// step loads them: none may crash or hang the viewer, take unbounded memory,
// report an error or lose the picture a plane showed.
#include "carousel/fit.h"
#include "carousel/ring.h"
#include "hostile/corpus.h"
#include "platform/error_report.h"
#include "support/fixtures.h"
#include "support/proc_status.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <map>

namespace {

// Guards against a runaway decoder; not a benchmark. A small file may
// declare a picture within the decoding budget (1 GiB of pixels), which then
// takes that much again while it is converted; beyond that the budget must
// refuse it. A hang ends the test at its time limit.
constexpr long peakResidentMiB = 4096;

// What a plane shows before a variant is loaded into it: no variant has this size.
const QSize marker(7, 5);


// What is wrong with what plane shows after variant was loaded into it, or
// an empty string.
QString fault(const view3d::PicturePlane& plane, const hostile::Variant& variant)
{
    const QSize shown = plane.pictureSize();
    const bool kept = shown == marker;
    if (!kept && shown.isEmpty())
        return "lost its picture";
    if (variant.outcome == hostile::Outcome::Keeps && !kept)
        return QString("shows a %1 x %2 picture").arg(shown.width()).arg(shown.height());
    if (variant.outcome == hostile::Outcome::Shows && shown != hostile::baseSize)
        return QString("shows %1 x %2 instead of the picture").arg(shown.width()).arg(shown.height());
    const PlaneSize fit = fitPlane(shown);
    if (plane.width() != fit.width || plane.height() != fit.height)
        return "is not fitted to its picture";
    return {};
}

}

class HostilePictures : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void everyVariantShowsOrKeepsWhatThePlaneShowed()
    {
        const std::vector<hostile::Variant> corpus = hostile::corpus();
        QVERIFY(corpus.size() > 2000);
        const std::string folder = dir.path().toStdString() + "/corpus";
        std::map<std::string, const hostile::Variant*> variantAt;
        for (const hostile::Variant& variant : corpus) {
            const std::string path = folder + "/" + variant.name;
            fixtures::writeText(path, variant.bytes.toStdString());
            variantAt[path] = &variant;
        }
        QStringList reports;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });

        auto form = driver::startForm({folder});
        const int n = form->stlf->count();
        QCOMPARE(n, int(corpus.size()));
        QStringList faults;
        QImage markerPicture(marker, QImage::Format_ARGB32_Premultiplied);
        markerPicture.fill(Qt::gray);
        // Each Shift step loads the entry five ahead into the slot behind the
        // ring: n steps load every variant once.
        for (int k = 0; k < n; ++k) {
            const ring::StepLoad load = ring::stepLoad(form->imgFront, form->imgNumber, +1, n);
            view3d::PicturePlane& plane = *form->imgs[load.slot];
            const hostile::Variant& variant = *variantAt.at(form->stlf->at(load.entry));
            plane.setPicture(markerPicture);
            QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
            while (form->TM_Img->isActive()) // the turn's one tick, without a poll's delay
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (const QString wrong = fault(plane, variant); !wrong.isEmpty())
                faults << QString("%1: the plane %2").arg(variant.name.c_str(), wrong);
        }
        QCOMPARE(form->imgNumber, 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join('\n')));
        const long peak = procstatus::kib("VmHWM");
        QVERIFY2(peak > 0 && peak < peakResidentMiB * 1024, qPrintable(QString("peak resident set %1 KiB").arg(peak)));
    }
};

VIEWER_TEST_MAIN(HostilePictures)
#include "test_hostile_pictures.moc"
