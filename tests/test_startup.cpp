// Starting the viewer on argument lists: which pictures the ring shows, where
// and how, and what happens with bad input.
#include "platform/error_report.h"
#include "support/fixtures.h"
#include "support/unreadable.h"
#include "view3d/viewport3d.h"
#include "viewer_support/entries.h"
#include "viewer_support/form_driver.h"
#include <QTemporaryDir>
#include <QtTest>

using frameprobe::colourAt;
using frameprobe::near;

class Startup : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void noArgumentsShowsBlackViewAndNoRing()
    {
        auto form = driver::startForm({});
        QCOMPARE(form->stlf->count(), 0);
        QVERIFY(!form->imgCreateFlag);
        QVERIFY(form->imgs[0] == nullptr);
        const QImage frame = driver::frame(*form);
        for (QPoint p : {QPoint(10, 10), QPoint(308, 300), QPoint(600, 590)})
            QVERIFY(near(colourAt(frame, p), Qt::black, 0));
    }

    void ringShowsEntriesAroundTheFront()
    {
        for (int k = 0; k < 12; ++k)
            fixtures::writePicture(root() + "/pics" + entries::name(k), entries::size(k), entries::colour(k));
        fixtures::writeText(root() + "/pics/notes.txt", "not a picture");
        auto form = driver::startForm({root() + "/pics", root() + "/missing", root() + "/pics/notes.txt"});
        QCOMPARE(form->stlf->count(), 12);
        QVERIFY(form->imgCreateFlag);
        const int expected[9] = {0, 1, 2, 3, 4, 8, 9, 10, 11};
        for (int slot = 0; slot < 9; ++slot)
            QCOMPARE(form->imgs[slot]->pictureSize(), entries::size(expected[slot]));

        const QImage frame = driver::frame(*form);
        QVERIFY(near(colourAt(frame, driver::slotCentre(*form, 0)), entries::colour(0)));
        // The neighbours are cut by the view's edges: look inside the view.
        const QPoint right = driver::slotCentre(*form, 1), left = driver::slotCentre(*form, 8);
        QVERIFY(near(colourAt(frame, QPoint(std::min(right.x(), 600), right.y())), entries::colour(1)));
        QVERIFY(near(colourAt(frame, QPoint(std::max(left.x(), 15), left.y())), entries::colour(11)));
    }

    void frontIsUprightAndFarSideMirrored()
    {
        for (int k = 0; k < 9; ++k)
            fixtures::writeImage(root() + entries::name(k), fixtures::quadrantImage(QSize(400, 300)));
        auto form = driver::startForm({root()});
        const QImage frame = driver::frame(*form);
        auto screen = [&](int slot, float x, float y) {
            const QVector3D p = form->imgs[slot]->worldMatrix().map(QVector3D(x, y, 0));
            return form->Viewport3D1->project(p).toPoint();
        };
        // Front plane, 4 x 3: the picture's top-left quarter is at the top left.
        QVERIFY(near(colourAt(frame, screen(0, -1, -0.75f)), Qt::red));
        QVERIFY(near(colourAt(frame, screen(0, 1, -0.75f)), Qt::green));
        QVERIFY(near(colourAt(frame, screen(0, -1, 0.75f)), Qt::blue));
        QVERIFY(screen(0, -1, 0).x() < screen(0, 1, 0).x());
        // Slot 3 shows its back between the front plane and the right edge:
        // its picture's left side lies to the right on the screen.
        QVERIFY(screen(3, -1, 0).x() > screen(3, 1, 0).x());
        const QPoint back = screen(3, -1.6f, -0.75f);
        QVERIFY(back.x() > 450 && back.x() < 616);
        QVERIFY(near(colourAt(frame, back), Qt::red));
    }

    void frontPlaneFitsItsPicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::newRow("landscape") << QSize(600, 400) << 4.0f << 2.6666667f;
        QTest::newRow("portrait") << QSize(400, 600) << 2.6666667f << 4.0f;
        QTest::newRow("square") << QSize(500, 500) << 4.0f << 4.0f;
    }
    void frontPlaneFitsItsPicture()
    {
        QFETCH(QSize, size);
        QFETCH(float, width);
        QFETCH(float, height);
        fixtures::writePicture(root() + "/a.jpg", size, Qt::cyan, "JPEG");
        auto form = driver::startForm({root() + "/a.jpg"});
        QCOMPARE(form->imgs[0]->width(), width);
        QCOMPARE(form->imgs[0]->height(), height);
        // The coloured span across the view's centre line matches the fit.
        const QImage frame = driver::frame(*form);
        const QPoint left = form->Viewport3D1->project(form->imgs[0]->worldMatrix().map(QVector3D(-width / 2 + 0.05f, 0, 0))).toPoint();
        const QPoint right = form->Viewport3D1->project(form->imgs[0]->worldMatrix().map(QVector3D(width / 2 - 0.05f, 0, 0))).toPoint();
        QVERIFY(near(colourAt(frame, left), Qt::cyan));
        QVERIFY(near(colourAt(frame, right), Qt::cyan));
        const QPoint top = form->Viewport3D1->project(form->imgs[0]->worldMatrix().map(QVector3D(0, -height / 2 + 0.05f, 0))).toPoint();
        QVERIFY(near(colourAt(frame, top), Qt::cyan));
        QVERIFY(!near(colourAt(frame, top - QPoint(0, 8)), Qt::cyan));
    }

    void onePictureFillsEverySlot()
    {
        fixtures::writePicture(root() + "/only.bmp", QSize(64, 48), Qt::magenta, "BMP");
        auto form = driver::startForm({root() + "/only.bmp"});
        for (auto* plane : form->imgs)
            QCOMPARE(plane->pictureSize(), QSize(64, 48));
    }

    void folderAndFileInsideItGiveOneEntry()
    {
        fixtures::writePicture(root() + "/pics/a.png", QSize(10, 10), Qt::red);
        auto form = driver::startForm({root() + "/pics", root() + "/pics/a.png", root() + "/pics/"});
        QCOMPARE(form->stlf->count(), 1);
        QCOMPARE(form->stlf->at(0), root() + "/pics/a.png");
    }

    void emptyFolderLeavesRingUnbuilt()
    {
        fixtures::makeFolder(root() + "/empty");
        fixtures::writeText(root() + "/empty/readme.txt", "x");
        auto form = driver::startForm({root() + "/empty"});
        QCOMPARE(form->stlf->count(), 0);
        QVERIFY(!form->imgCreateFlag);
    }

    void undecodablePictureLeavesWhitePlane()
    {
        fixtures::writeText(root() + "/broken.jpg", "this is text, not a picture");
        fixtures::writeText(root() + "/zero.png", "");
        bool reported = false;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest&) {
            reported = true;
            return platform::BoxAnswer::Ok;
        });
        auto form = driver::startForm({root()});
        QCOMPARE(form->stlf->count(), 2);
        QVERIFY(!form->imgs[0]->hasPicture());
        QVERIFY(!reported);
        QVERIFY(near(colourAt(driver::frame(*form), driver::slotCentre(*form, 0)), Qt::white, 0));
    }

    // The error names the file by its full path, however it was reached.
    void unreadablePictureReportsOpenErrorAndStartUpGoesOn_data()
    {
        QTest::addColumn<QString>("workingFolder"); // below the fixture folder
        QTest::addColumn<QString>("argument");      // "" for the fixture folder itself
        QTest::newRow("absolute folder") << "" << "";
        QTest::newRow("relative folder with dot segments") << "sub" << "../sub/.././";
        QTest::newRow("current folder") << "" << ".";
    }
    void unreadablePictureReportsOpenErrorAndStartUpGoesOn()
    {
        QFETCH(QString, workingFolder);
        QFETCH(QString, argument);
        fixtures::makeFolder(root() + "/sub");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path() + "/" + workingFolder));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        fixtures::writePicture(root() + "/a.png", QSize(40, 30), Qt::red);
        fixtures::writePicture(root() + "/b.png", QSize(40, 30), Qt::green);
        fixtures::writePicture(root() + "/c.png", QSize(40, 30), Qt::blue);
        const std::string locked = root() + "/b.png";
        QStringList reports;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.title + "|" + box.text;
            return platform::BoxAnswer::Ok;
        });
        std::unique_ptr<TForm1> form;
        {
            const Unreadable refused(locked);
            form = driver::startForm({argument.isEmpty() ? root() : argument.toStdString()});
        }
        QCOMPARE(reports, QStringList{"|" + Unreadable::report(locked)});
        // Slot 0 was loaded before the failure; slot 1 never got its picture.
        QCOMPARE(form->imgs[0]->pictureSize(), QSize(40, 30));
        QVERIFY(!form->imgs[1]->hasPicture());
        QVERIFY(form->isVisible());
    }
};

VIEWER_TEST_MAIN(Startup)
#include "test_startup.moc"
