// Input that arrives in the middle of start-up or of a drop, which both
// process pending events between the paths they take: steps, the wheel, the
// dial, the scroll bars, Quit and closing the window. None may crash the
// viewer, spoil its list or leave its step buttons disabled; closing or
// quitting ends the program with code 0 once the drop is done.
#include "hostile/midway.h"
#include "platform/error_report.h"
#include "support/drag_drop.h"
#include "support/fixtures.h"
#include "view3d/viewport3d.h"
#include "viewer_support/entries.h"
#include "viewer_support/form_driver.h"
#include "widgets/arc_dial.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <string_view>

namespace {

// A drag of paths from the desktop that enters the 3D view and is dropped there.
void drop(TForm1& form, const std::vector<std::string>& paths)
{
    dragdrop::dragAndDrop(*form.Viewport3D1, QPoint(10, 10), *dragdrop::paths(paths));
}

void wheel(TForm1& form)
{
    const QPointF centre = QRectF(form.Viewport3D1->rect()).center();
    QWheelEvent event(centre, form.Viewport3D1->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.Viewport3D1, &event);
}

struct Intrusion {
    const char* name;
    void (*act)(TForm1& form);
    platform::BoxAnswer answer; // to the Quit question, if it is asked
};

const Intrusion intrusions[] = {
    {"Next", [](TForm1& f) { QTest::keyClick(f.B_After, Qt::Key_Return); }, platform::BoxAnswer::No},
    {"Previous with Shift", [](TForm1& f) { QTest::keyClick(f.B_Before, Qt::Key_Space, Qt::ShiftModifier); },
     platform::BoxAnswer::No},
    {"wheel", wheel, platform::BoxAnswer::No},
    {"dial", [](TForm1& f) { f.ArcDial1->setValue(30); }, platform::BoxAnswer::No},
    {"scroll bars", [](TForm1& f) {
         f.SB_H->setValue(20);
         f.SB_V->setValue(-15);
     }, platform::BoxAnswer::No},
    {"Quit answered No", [](TForm1& f) { QTest::keyClick(f.B_Quit, Qt::Key_Return); }, platform::BoxAnswer::No},
    {"Quit answered Yes", [](TForm1& f) { QTest::keyClick(f.B_Quit, Qt::Key_Return); }, platform::BoxAnswer::Yes},
    {"Next, then Quit answered Yes", [](TForm1& f) {
         QTest::keyClick(f.B_After, Qt::Key_Return);
         QTest::keyClick(f.B_Quit, Qt::Key_Return);
     }, platform::BoxAnswer::Yes},
    {"close", [](TForm1& f) { f.close(); }, platform::BoxAnswer::No},
};

int intrusionNamed(const char* name)
{
    const auto* found = std::find_if(std::begin(intrusions), std::end(intrusions),
                                     [&](const Intrusion& i) { return std::string_view(i.name) == name; });
    return int(found - std::begin(intrusions));
}

}

class Reentrancy : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }
    std::vector<std::string> expected;
    QStringList boxes;

    void useAnswer(platform::BoxAnswer answer)
    {
        platform::Application::running().setBoxAnswerer([this, answer](const platform::BoxRequest& box) {
            boxes << box.text;
            return answer;
        });
    }

    // The list holds exactly the pictures of both folders, in order, and the
    // ring shows them from entry 0 in front, at rest.
    void checkListAndRing(TForm1& form)
    {
        driver::waitForStepEnd(form);
        QCOMPARE(form.stlf->count(), int(expected.size()));
        for (int i = 0; i < form.stlf->count(); ++i)
            QCOMPARE(form.stlf->at(i), expected[i]);
        QVERIFY(form.B_After->isEnabled() && form.B_Before->isEnabled());
        QCOMPARE(form.imgFront, 0);
        QCOMPARE(form.imgNumber, 0);
        QCOMPARE(form.dm_round->rotation().y, 0.0f);
        // Four entries round nine slots: entry 0 in front, the next four
        // after it and the four before it behind, wrapping.
        const int shown[9] = {0, 1, 2, 3, 0, 0, 1, 2, 3};
        for (int slot = 0; slot < 9; ++slot)
            QCOMPARE(form.imgs[slot]->pictureSize(), entries::size(1 + shown[slot]));
    }

private slots:
    void initTestCase()
    {
        fixtures::writePicture(root() + "/a/1.png", entries::size(1), Qt::red);
        fixtures::writePicture(root() + "/a/2.png", entries::size(2), Qt::green);
        fixtures::writePicture(root() + "/b/3.png", entries::size(3), Qt::blue);
        fixtures::writePicture(root() + "/b/4.png", entries::size(4), Qt::yellow);
        for (int k = 5; k < 8; ++k)
            fixtures::writePicture(root() + "/old/" + std::to_string(k) + ".png", entries::size(k), Qt::gray);
        expected = {root() + "/a/1.png", root() + "/a/2.png", root() + "/b/3.png", root() + "/b/4.png"};
    }
    void init() { boxes.clear(); }
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void inputInTheMiddle_data()
    {
        QTest::addColumn<bool>("duringDrop");  // or during start-up
        QTest::addColumn<bool>("betweenPaths"); // or as the handler begins
        QTest::addColumn<int>("intrusion");
        for (bool duringDrop : {false, true})
            for (bool betweenPaths : {false, true})
                for (int i = 0; i < int(std::size(intrusions)); ++i)
                    QTest::addRow("%s, %s: %s", duringDrop ? "drop" : "start-up",
                                  betweenPaths ? "between paths" : "as it begins", intrusions[i].name)
                        << duringDrop << betweenPaths << i;
    }
    void inputInTheMiddle()
    {
        QFETCH(bool, duringDrop);
        QFETCH(bool, betweenPaths);
        QFETCH(int, intrusion);
        const Intrusion& input = intrusions[intrusion];
        useAnswer(input.answer);
        const auto form = std::make_unique<TForm1>();
        auto when = [&] { return betweenPaths ? hostile::collected(*form) == 2 : driver::progressWindowOpen(); };
        auto act = [&] { input.act(*form); };
        std::unique_ptr<hostile::Midway> midway;
        if (duringDrop) {
            driver::start(*form, {root() + "/old"});
            midway = std::make_unique<hostile::Midway>(when, act);
            drop(*form, {root() + "/a", root() + "/b"});
        } else {
            midway = std::make_unique<hostile::Midway>(when, act);
            driver::start(*form, {root() + "/a", root() + "/b"});
        }
        QVERIFY(midway->fired());
        checkListAndRing(*form);
        const bool quitAsked = QString(input.name).contains("Quit");
        QCOMPARE(boxes.size(), quitAsked ? 1 : 0);
        QVERIFY(!driver::progressWindowOpen());
    }

    // A step in the middle of a drop turns the ring over the list it was
    // loaded from, whole, and shows that list's next picture; the drop's
    // list replaces it only when the drop has found everything.
    void stepDuringADropSeesTheOldListWhole()
    {
        const auto form = driver::startForm({root() + "/old"});
        std::vector<std::string> listedMidway;
        QString frontMidway;
        hostile::Midway midway([&] { return hostile::collected(*form) == 2; }, [&] {
            for (int i = 0; i < form->stlf->count(); ++i)
                listedMidway.push_back(form->stlf->at(i));
            QTest::keyClick(form->B_After, Qt::Key_Return, Qt::ShiftModifier);
            driver::waitForStepEnd(*form);
            frontMidway = form->Viewport3D1->accessibleName();
        });
        drop(*form, {root() + "/a", root() + "/b"});
        QVERIFY(midway.fired());
        const std::vector<std::string> old = {root() + "/old/5.png", root() + "/old/6.png", root() + "/old/7.png"};
        QCOMPARE(listedMidway, old);
        QCOMPARE(frontMidway, QString("6.png"));
        checkListAndRing(*form);
        QCOMPARE(form->Viewport3D1->accessibleName(), QString("1.png"));
    }

    // Under the event loop, as the program runs: closing the window or
    // quitting in the middle of a drop ends the loop with code 0 once the
    // drop has finished; a step under way ends before the reload all the
    // same, though no event loop runs any more once quitting.
    void closingOrQuittingDuringADropEndsTheProgram_data()
    {
        QTest::addColumn<int>("intrusion");
        for (const char* name : {"close", "Quit answered Yes", "Next, then Quit answered Yes"})
            QTest::newRow(name) << intrusionNamed(name);
    }
    void closingOrQuittingDuringADropEndsTheProgram()
    {
        QFETCH(int, intrusion);
        const Intrusion& input = intrusions[intrusion];
        useAnswer(input.answer);
        auto form = driver::startForm({root() + "/old"});
        hostile::Midway midway([&] { return hostile::collected(*form) == 2; }, [&] { input.act(*form); });
        bool dropped = false;
        QTimer::singleShot(0, [&] {
            drop(*form, {root() + "/a", root() + "/b"});
            dropped = true;
        });
        QTimer::singleShot(30000, [] { QCoreApplication::exit(99); }); // the loop would never end
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(midway.fired());
        QVERIFY(dropped);
        QVERIFY(!form->isVisible());
        checkListAndRing(*form);
    }
};

VIEWER_TEST_MAIN(Reentrancy)
#include "test_reentrancy.moc"
