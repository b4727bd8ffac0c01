// Next and Previous through real clicks and keys: which slot and entry are
// loaded, how the ring turns tick by tick, and what a failed step leaves.
#include "carousel/ring.h"
#include "platform/error_report.h"
#include "support/fixtures.h"
#include "support/unreadable.h"
#include "view3d/viewport3d.h"
#include "viewer_support/entries.h"
#include "viewer_support/form_driver.h"
#include "widgets/arc_dial.h"
#include "widgets/push_button.h"
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using frameprobe::colourAt;
using frameprobe::near;

class Stepping : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }

    std::unique_ptr<TForm1> startWith(int n)
    {
        QDir(dir.path()).removeRecursively();
        for (int k = 0; k < n; ++k)
            fixtures::writePicture(root() + entries::name(k), entries::size(k), entries::colour(k));
        return driver::startForm({root()});
    }

    // Checks that slot (front + k) shows entry (number + k) for k = -4..4.
    void checkRing(TForm1& form)
    {
        const int n = form.stlf->count();
        for (int k = -4; k <= 4; ++k)
            QCOMPARE(entries::shownBy(*form.imgs[ring::wrap(form.imgFront + k, 9)]), ring::wrap(form.imgNumber + k, n));
    }

private slots:
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void stepsKeepTheRingInvariant_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("steps"); // N: Next, P: Previous; lower case with Shift
        QTest::addColumn<int>("front");
        QTest::addColumn<int>("number");
        QTest::newRow("one picture, Next") << 1 << "N" << 1 << 0;
        QTest::newRow("one picture, Previous") << 1 << "p" << 8 << 0;
        QTest::newRow("three, Next") << 3 << "N" << 1 << 1;
        QTest::newRow("seven, Previous") << 7 << "P" << 8 << 6;
        QTest::newRow("seven, back and forth") << 7 << "nnpPN" << 1 << 1;
        QTest::newRow("twelve, nine Next") << 12 << "nnnnnnnnn" << 0 << 9;
        QTest::newRow("twelve, five Previous") << 12 << "ppppp" << 4 << 7;
    }
    void stepsKeepTheRingInvariant()
    {
        QFETCH(int, n);
        QFETCH(QString, steps);
        QFETCH(int, front);
        QFETCH(int, number);
        auto form = startWith(n);
        for (QChar c : steps) {
            widgets::PushButton* button = c.toUpper() == 'N' ? form->B_After : form->B_Before;
            QTest::mouseClick(button, Qt::LeftButton, c.isLower() ? Qt::ShiftModifier : Qt::NoModifier);
            driver::waitForStepEnd(*form);
        }
        QCOMPARE(form->imgFront, front);
        QCOMPARE(form->imgNumber, number);
        checkRing(*form);
        QCOMPARE(std::fmod(form->dm_round->rotation().y + 3600.0f, 360.0f), std::fmod(40.0f * front, 360.0f));

        // The front plane faces the camera, showing the front entry; its
        // neighbours show the next and previous entries.
        const QImage frame = driver::frame(*form);
        QVERIFY(near(colourAt(frame, driver::slotCentre(*form, form->imgFront)), entries::colour(number)));
        const QPoint right = driver::slotCentre(*form, ring::wrap(form->imgFront + 1, 9));
        QVERIFY(near(colourAt(frame, QPoint(std::min(right.x(), 600), right.y())), entries::colour(ring::wrap(number + 1, n))));
    }

    void keysStepTheRing()
    {
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QSKIP("under Wayland only the compositor gives a window the keyboard focus, and a headless one has no keyboard");
        auto form = startWith(5);
        QCOMPARE(QApplication::focusWidget(), form->B_After);
        QTest::keyClick(form->B_After, Qt::Key_Return);
        driver::waitForStepEnd(*form);
        // The focus came back to Next, so Enter keeps stepping.
        QCOMPARE(QApplication::focusWidget(), form->B_After);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        QCOMPARE(form->imgNumber, 2);
        form->B_Before->setFocus();
        QTest::keyClick(form->B_Before, Qt::Key_Enter);
        driver::waitForStepEnd(*form);
        QCOMPARE(form->imgNumber, 1);
        QCOMPARE(QApplication::focusWidget(), form->B_Before);
        checkRing(*form);
    }

    void everyTickIsDrawnAtItsOwnAngle()
    {
        auto form = startWith(9);
        QList<float> angles;
        QList<double> centres; // where entry 0's colour sits on the centre row
        connect(form->TM_Img, &QTimer::timeout, this, [&] {
            angles << form->dm_round->rotation().y;
            const QImage frame = driver::frame(*form);
            frame.save(QString("step-tick-%1.png").arg(angles.size())); // for a person to look at
            const int y = frame.height() / 2;
            double sum = 0, count = 0;
            for (int x = 0; x < frame.width(); ++x)
                if (near(frame.pixelColor(x, y), entries::colour(0), 12))
                    sum += x, count += 1;
            centres << (count > 0 ? sum / count : -1);
        });
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        driver::waitForStepEnd(*form);
        QCOMPARE(angles.size(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(angles[i], 4.0f * (i + 1));
        for (int i = 1; i < 10; ++i)
            QVERIFY2(centres[i] < centres[i - 1], qPrintable(QString::number(i)));
    }

    void shiftTurnsInOneTick()
    {
        auto form = startWith(9);
        int ticks = 0;
        connect(form->TM_Img, &QTimer::timeout, this, [&] { ++ticks; });
        QTest::mouseClick(form->B_Before, Qt::LeftButton, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        QCOMPARE(ticks, 1);
        QCOMPARE(form->dm_round->rotation().y, 320.0f);
    }

    void zoomedPlaneShrinksBackDuringTheTurn()
    {
        auto form = startWith(9);
        form->imgs[0]->setScale({4, 4, 4});
        QList<float> scales;
        connect(form->TM_Img, &QTimer::timeout, this, [&] { scales << form->imgs[0]->scale().x; });
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        driver::waitForStepEnd(*form);
        QCOMPARE(scales.size(), 10);
        for (int i = 0; i < 9; ++i)
            QVERIFY(std::abs(scales[i] - (4.0f - 0.3f * (i + 1))) < 1e-4f);
        const view3d::Vec3 end = form->imgs[0]->scale();
        QCOMPARE(end.x, 1.0f);
        QCOMPARE(end.y, 1.0f);
        QCOMPARE(end.z, 1.0f);
    }

    void clickWhileTurningDoesNothing()
    {
        auto form = startWith(9);
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        QVERIFY(!form->B_After->isEnabled());
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        QTest::mouseClick(form->B_Before, Qt::LeftButton);
        driver::waitForStepEnd(*form);
        QCOMPARE(form->imgNumber, 1);
        QCOMPARE(form->imgFront, 1);
    }

    void stepResetsTheRoll()
    {
        auto form = startWith(9);
        form->ArcDial1->setValue(30);
        QCOMPARE(form->imgs[0]->rotation().z, -30.0f);
        QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
        driver::waitForStepEnd(*form);
        QCOMPARE(form->ArcDial1->value(), 0.0);
        QCOMPARE(form->imgs[0]->rotation().z, 0.0f);
    }

    void stepOnEmptyListDoesNothing()
    {
        auto form = driver::startForm({});
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        QTest::keyClick(form->B_After, Qt::Key_Return);
        QVERIFY(!form->TM_Img->isActive());
        QVERIFY(form->B_After->isEnabled() && form->B_Before->isEnabled());
        QCOMPARE(form->imgNumber, 0);
    }

    void unopenablePictureEndsTheStep()
    {
        auto form = startWith(12);
        form->ArcDial1->setValue(20);
        const std::string locked = root() + entries::name(5); // loaded by Next
        QStringList reports;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });
        {
            const Unreadable refused(locked);
            QTest::mouseClick(form->B_After, Qt::LeftButton);
        }
        QCOMPARE(reports, QStringList{Unreadable::report(locked)});
        QVERIFY(!form->TM_Img->isActive());
        QVERIFY(form->B_After->isEnabled() && form->B_Before->isEnabled());
        QCOMPARE(form->imgFront, 0);
        QCOMPARE(form->imgNumber, 0);
        QCOMPARE(form->dm_round->rotation().y, 0.0f);
        QCOMPARE(form->ArcDial1->value(), 0.0);
        QCOMPARE(form->imgs[0]->rotation().z, 0.0f);
        checkRing(*form);
    }
};

VIEWER_TEST_MAIN(Stepping)
#include "test_stepping.moc"
