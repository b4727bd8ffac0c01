// Loading on all cores and decoding ahead must show exactly what loading one
// file after the other shows: the same pictures in the same planes and the
// same errors at the same points, whatever happens to a file between its
// decode ahead and the step that loads it.
#include "carousel/ring.h"
#include "image/picture_reader.h"
#include "platform/error_report.h"
#include "support/fixtures.h"
#include "support/permissions.h"
#include "view3d/viewport3d.h"
#include "viewer_support/entries.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>

using frameprobe::colourAt;
using frameprobe::near;

namespace {

// The error a file that cannot be opened raises.
QString openError(const std::string& path)
{
    return "ファイル " + QString::fromStdString(path) + " は開けません。 Permission denied ";
}

}

class Loading : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }

    void writeEntries(const std::string& folder, int n, int sizeOffset = 0)
    {
        for (int k = 0; k < n; ++k)
            fixtures::writePicture(folder + entries::name(k), entries::size(k + sizeOffset), entries::colour(k + sizeOffset));
    }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void stepShowsTheFileAsItIsAtTheStep_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("change");
        for (const int direction : {+1, -1}) {
            const char* way = direction > 0 ? "Next" : "Previous";
            for (const char* change : {"none", "renamed over", "rewritten", "deleted", "not a picture", "unreadable"})
                QTest::addRow("%s, %s", way, change) << 12 << direction << QString(change);
            // With nine entries the plane coming into view shows that file already.
            QTest::addRow("%s, nine entries, none", way) << 9 << direction << "none";
            QTest::addRow("%s, nine entries, rewritten", way) << 9 << direction << "rewritten";
        }
    }
    void stepShowsTheFileAsItIsAtTheStep()
    {
        QFETCH(int, n);
        QFETCH(int, direction);
        QFETCH(QString, change);
        writeEntries(root(), n);
        auto form = driver::startForm({root()});
        // The decodes ahead end first, so that the step finds them stale.
        QVERIFY(QTest::qWaitFor([&] { return form->decodesAhead().settled(); }));

        const ring::StepLoad load = ring::stepLoad(0, 0, direction, n);
        const int slot = load.slot;
        const std::string path = root() + entries::name(load.entry);
        const QSize before = form->imgs[slot]->pictureSize();
        const QSize replacement(90, 20);
        if (change == "renamed over") {
            fixtures::writePicture(path + ".new", replacement, Qt::darkMagenta);
            QCOMPARE(std::rename((path + ".new").c_str(), path.c_str()), 0);
        } else if (change == "rewritten") {
            fixtures::writePicture(path, replacement, Qt::darkMagenta);
        } else if (change == "deleted") {
            QCOMPARE(std::remove(path.c_str()), 0);
        } else if (change == "not a picture") {
            fixtures::writeText(path, "no longer a picture\n");
        } else if (change == "unreadable") {
            QCOMPARE(::chmod(path.c_str(), 0), 0);
        }

        QStringList reports;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });
        image::PictureRead expected;
        {
            const ModesEnforced modes;
            expected = image::readPicture(path, form->Viewport3D1->maxTextureSide());
            QTest::mouseClick(direction > 0 ? form->B_After : form->B_Before, Qt::LeftButton);
        }

        if (expected.status == image::PictureRead::CannotOpen) {
            QCOMPARE(reports, QStringList{openError(path)});
            QCOMPARE(form->imgNumber, 0);
            QCOMPARE(form->imgFront, 0);
            QCOMPARE(form->imgs[slot]->pictureSize(), before);
            return;
        }
        driver::waitForStepEnd(*form);
        QCOMPARE(reports, QStringList{});
        QCOMPARE(form->imgNumber, ring::wrap(direction, n));
        const bool loaded = expected.status == image::PictureRead::Loaded;
        QCOMPARE(form->imgs[slot]->pictureSize(), loaded ? expected.realSize : before);

        // Four more steps the same way bring the plane to the front.
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(direction > 0 ? form->B_After : form->B_Before, Qt::LeftButton, Qt::ShiftModifier);
            driver::waitForStepEnd(*form);
        }
        QCOMPARE(form->imgFront, slot);
        const QColor colour = loaded ? expected.image.pixelColor(expected.image.rect().center())
                                     : entries::colour(before.width() - 40);
        QVERIFY(near(colourAt(driver::frame(*form), driver::slotCentre(*form, slot)), colour));
    }

    // The nine files open in slot order; at the first that cannot be opened
    // the planes before it show their new pictures, when the error is shown
    // and after, and the planes after it keep their old ones.
    void openErrorMidLoadLeavesLaterPlanesOld()
    {
        const std::string first = root() + "/first", second = root() + "/second";
        writeEntries(first, 12);
        writeEntries(second, 12, 20);
        auto form = driver::startForm({first});
        const std::string locked = second + entries::name(3);
        QCOMPARE(::chmod(locked.c_str(), 0), 0);

        QStringList reports;
        QList<QSize> sizesAtReport;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            for (auto* plane : form->imgs)
                sizesAtReport << plane->pictureSize();
            return platform::BoxAnswer::Ok;
        });
        QMimeData drop;
        drop.setUrls({QUrl::fromLocalFile(QString::fromStdString(second))});
        {
            const ModesEnforced modes;
            form->DragDrop(drop);
        }

        QCOMPARE(reports, QStringList{openError(locked)});
        const QList<QSize> expected{entries::size(20), entries::size(21), entries::size(22), entries::size(3), entries::size(4),
                                    entries::size(8), entries::size(9), entries::size(10), entries::size(11)};
        QCOMPARE(sizesAtReport, expected);
        for (int slot = 0; slot < 9; ++slot)
            QCOMPARE(form->imgs[slot]->pictureSize(), expected[slot]);
        QVERIFY(near(colourAt(driver::frame(*form), driver::slotCentre(*form, 0)), entries::colour(20)));
    }

    void openErrorMidStartUpLeavesLaterPlanesEmpty()
    {
        writeEntries(root(), 12);
        const std::string locked = root() + entries::name(2);
        QCOMPARE(::chmod(locked.c_str(), 0), 0);
        QStringList reports;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });
        std::unique_ptr<TForm1> form;
        {
            const ModesEnforced modes;
            form = driver::startForm({root()});
        }
        QCOMPARE(reports, QStringList{openError(locked)});
        QCOMPARE(form->imgs[0]->pictureSize(), entries::size(0));
        QCOMPARE(form->imgs[1]->pictureSize(), entries::size(1));
        for (int slot = 2; slot < 9; ++slot)
            QVERIFY(!form->imgs[slot]->hasPicture());
    }

    // A drop empties the list and fills it anew, letting ticks run between
    // the dropped items: the tick that ends a step may come while the list
    // is empty, and must find nothing to decode ahead.
    void stepEndingWhileADropRefillsTheList()
    {
        writeEntries(root() + "/first", 12);
        writeEntries(root() + "/second", 12, 20);
        for (int k = 0; k < 3000; ++k)
            fixtures::writeText(root() + "/notes/n" + std::to_string(k) + ".txt", "");
        auto form = driver::startForm({root() + "/first"});
        QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
        QMimeData drop;
        drop.setUrls({QUrl::fromLocalFile(QString::fromStdString(root() + "/notes")),
                      QUrl::fromLocalFile(QString::fromStdString(root() + "/second"))});
        form->DragDrop(drop);
        driver::waitForStepEnd(*form);
        QCOMPARE(form->imgNumber, 0);
        QCOMPARE(form->imgs[0]->pictureSize(), entries::size(20));
        QVERIFY(near(colourAt(driver::frame(*form), driver::slotCentre(*form, 0)), entries::colour(20)));
    }

    // With fewer entries than planes a file fills several planes, each with
    // its own picture as loading one by one gives it.
    void fewEntriesRepeatAroundTheRing()
    {
        writeEntries(root(), 4);
        auto form = driver::startForm({root()});
        const int expected[9] = {0, 1, 2, 3, 0, 0, 1, 2, 3};
        for (int slot = 0; slot < 9; ++slot)
            QCOMPARE(form->imgs[slot]->pictureSize(), entries::size(expected[slot]));
        QVERIFY(near(colourAt(driver::frame(*form), driver::slotCentre(*form, 0)), entries::colour(0)));
    }
};

VIEWER_TEST_MAIN(Loading)
#include "test_loading.moc"
