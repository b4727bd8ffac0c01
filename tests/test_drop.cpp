// Files and folders dropped on the window, through real drag and drop events
// delivered to the widgets under the pointer.
#include "platform/error_report.h"
#include "support/drag_drop.h"
#include "support/fixtures.h"
#include "support/unreadable.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Drags paths from the desktop into the middle of widget and drops them
// there; returns the action the drag showed.
Qt::DropAction dropPaths(QWidget* widget, const std::vector<std::string>& paths)
{
    return dragdrop::dragAndDrop(*widget, widget->rect().center(), *dragdrop::paths(paths));
}

}

class Drop : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        fixtures::writePicture(root() + "/old/a.png", QSize(40, 30), Qt::red);
        fixtures::writePicture(root() + "/old/b.png", QSize(41, 30), Qt::green);
        fixtures::writePicture(root() + "/new/c.png", QSize(42, 30), Qt::blue);
        fixtures::writePicture(root() + "/new/d.png", QSize(43, 30), Qt::yellow);
        fixtures::writeText(root() + "/readme.txt", "hello");
    }
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void onlyPathsAreAccepted()
    {
        auto form = driver::startForm({root() + "/old"});
        QMimeData text;
        text.setText("some text");
        QMimeData remote;
        remote.setUrls({QUrl("http://example.invalid/a.jpg")});
        for (QWidget* w : {(QWidget*)form->Viewport3D1, (QWidget*)form->B_After, (QWidget*)form->Panel1}) {
            QCOMPARE(dragdrop::dragAndDrop(*w, w->rect().center(), text), Qt::IgnoreAction);
            QCOMPARE(dragdrop::dragAndDrop(*w, w->rect().center(), remote), Qt::IgnoreAction);
        }
        QCOMPARE(form->stlf->count(), 2);
    }

    void dropAnywhereReplacesTheList()
    {
        for (int where = 0; where < 3; ++where) {
            auto form = driver::startForm({root() + "/old"});
            QWidget* target[] = {form->Viewport3D1, form->B_Quit, form->Panel1};
            QCOMPARE(dropPaths(target[where], {root() + "/new"}), Qt::LinkAction);
            QCOMPARE(form->stlf->count(), 2);
            QCOMPARE(form->stlf->at(0), root() + "/new/c.png");
            QCOMPARE(form->imgs[0]->pictureSize(), QSize(42, 30));
            QVERIFY(!driver::progressWindowOpen());
        }
    }

    void dropWithoutPicturesKeepsEverything()
    {
        auto form = driver::startForm({root() + "/old"});
        QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        const QImage before = driver::frame(*form);
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/readme.txt", root() + "/nothing-here"}), Qt::LinkAction);
        QCOMPARE(form->stlf->count(), 2);
        QCOMPARE(form->stlf->at(0), root() + "/old/a.png");
        QCOMPARE(form->imgNumber, 1);
        QCOMPARE(form->imgFront, 1);
        QCOMPARE(driver::frame(*form), before);
        QVERIFY(!driver::progressWindowOpen());
    }

    void folderAndPictureInsideGiveOneEntry()
    {
        auto form = driver::startForm({});
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new", root() + "/new/c.png"}), Qt::LinkAction);
        QCOMPARE(form->stlf->count(), 2);
    }

    void firstDropBuildsTheRing()
    {
        auto form = driver::startForm({});
        QVERIFY(!form->imgCreateFlag);
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new/d.png"}), Qt::LinkAction);
        QVERIFY(form->imgCreateFlag);
        const QImage frame = driver::frame(*form);
        QVERIFY(frameprobe::near(frameprobe::colourAt(frame, driver::slotCentre(*form, 0)), Qt::yellow));
    }

    void hiddenFileDroppedDirectlyIsTaken()
    {
        fixtures::writePicture(root() + "/new/.secret.png", QSize(44, 30), Qt::white);
        auto form = driver::startForm({});
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new/.secret.png", root() + "/new"}), Qt::LinkAction);
        QCOMPARE(form->stlf->count(), 3);
    }

    void reloadKeepsZoomRollAndCamera()
    {
        auto form = driver::startForm({root() + "/old"});
        QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        form->imgs[0]->setScale({2, 2, 2});
        form->Camera1->setPosition({0.5f, 0, -16});
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new"}), Qt::LinkAction);
        QCOMPARE(form->imgFront, 0);
        QCOMPARE(form->imgNumber, 0);
        QCOMPARE(form->dm_round->rotation().y, 0.0f);
        QCOMPARE(form->imgs[0]->pictureSize(), QSize(42, 30));
        QCOMPARE(form->imgs[0]->scale().x, 2.0f);
        QCOMPARE(form->Camera1->position().x, 0.5f);
    }

    void unopenablePictureIsReportedAndTheDropEnds()
    {
        auto form = driver::startForm({root() + "/old"});
        const std::string locked = root() + "/new/c.png";
        QStringList reports;
        bool progressShownAtReport = true;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            progressShownAtReport = driver::progressWindowOpen();
            return platform::BoxAnswer::Ok;
        });
        {
            const Unreadable refused(locked);
            QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new"}), Qt::LinkAction);
        }
        QCOMPARE(reports, QStringList{Unreadable::report(locked)});
        QVERIFY(!progressShownAtReport);
        QVERIFY(!driver::progressWindowOpen());
        QCOMPARE(form->stlf->count(), 2);
        QCOMPARE(form->stlf->at(0), locked);
    }

    void secondDropDuringADropRunsAfterIt()
    {
        auto form = driver::startForm({root() + "/old"});
        auto second = dragdrop::paths({root() + "/old/b.png"});
        // Posted now, delivered while the first drop processes pending events.
        QCoreApplication::postEvent(form->Viewport3D1, new QDropEvent(QPointF(10, 10), Qt::LinkAction, second.get(),
                                                                      Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(form->B_After, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        QCOMPARE(dropPaths(form->Viewport3D1, {root() + "/new"}), Qt::LinkAction);
        QCOMPARE(form->stlf->count(), 1);
        QCOMPARE(form->stlf->at(0), root() + "/old/b.png");
        QCOMPARE(form->imgFront, 0);
        QCOMPARE(form->dm_round->rotation().y, 0.0f);
        QVERIFY(form->B_After->isEnabled());
        QVERIFY(!driver::progressWindowOpen());
        for (auto* plane : form->imgs)
            QCOMPARE(plane->pictureSize(), QSize(41, 30));
    }
};

VIEWER_TEST_MAIN(Drop)
#include "test_drop.moc"
