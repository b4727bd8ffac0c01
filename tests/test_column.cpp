// The control column inside the main window: where everything sits, keyboard
// focus, and Quit with its confirmation.
#include "platform/error_report.h"
#include "resources/form_layout.h"
#include "support/fixtures.h"
#include "support/real_box.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/arc_dial.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include "widgets/text_label.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class Column : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::Application::running().setBoxAnswerer({}); }

    void layoutAtStartAndAfterResize()
    {
        auto form = driver::startForm({});
        QCOMPARE(form->Panel1->geometry(), QRect(616, 0, 184, 600));
        QCOMPARE(form->Viewport3D1->geometry(), QRect(0, 0, 616, 600));
        QCOMPARE(form->Panel2->geometry(), QRect(0, 0, 184, 361));
        const QList<QPair<QWidget*, QRect>> controls = {
            {form->B_Quit, {8, 8, 169, 41}},     {form->Label1, {8, 56, 169, 33}},
            {form->B_Before, {8, 96, 80, 49}},   {form->B_After, {96, 96, 80, 49}},
            {form->SB_V, {8, 161, 33, 152}},     {form->ArcDial1, {48, 208, 105, 105}},
            {form->SB_H, {8, 320, 169, 33}},
        };
        for (const auto& [widget, rect] : controls) {
            QCOMPARE(widget->parentWidget(), form->Panel2);
            QCOMPARE(widget->geometry(), rect);
        }
        QCOMPARE(form->B_Quit->text(), QString("終了"));
        QCOMPARE(form->B_Before->text(), QString("前へ"));
        QCOMPARE(form->B_After->text(), QString("次へ"));
        QCOMPARE(form->windowTitle(), QString("Ruk's 画像ビューアー"));

        form->resize(1000, 700);
        QTRY_COMPARE(form->Panel1->geometry(), QRect(816, 0, 184, 700));
        QCOMPARE(form->Viewport3D1->geometry(), QRect(0, 0, 816, 700));
        QCOMPARE(form->B_After->geometry(), QRect(96, 96, 80, 49));
        QCOMPARE(form->B_After->mapTo(form.get(), QPoint(0, 0)), QPoint(816 + 96, 96));
    }

    void scrollBarsAndDialStartAtTheirDefinitions()
    {
        auto form = driver::startForm({});
        QCOMPARE(form->SB_V->value(), 0.0);
        QCOMPARE(form->SB_H->value(), 0.0);
        QCOMPARE(form->ArcDial1->value(), 0.0);
        form->SB_V->setValue(-100);
        QCOMPARE(form->SB_V->value(), -40.0);
        form->SB_H->setValue(100);
        QCOMPARE(form->SB_H->value(), 30.0);
    }

    void tabMovesAmongTheButtons()
    {
        auto form = driver::startForm({});
        QCOMPARE(QApplication::focusWidget(), form->B_After);
        const QList<QWidget*> forward = {form->B_Before, form->B_Quit, form->B_After};
        for (QWidget* expected : forward) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), form->B_Quit);
    }

    void quitAnsweredNoChangesNothing()
    {
        QTemporaryDir dir;
        fixtures::writePicture(dir.path().toStdString() + "/a.png", QSize(40, 30), Qt::red);
        auto form = driver::startForm({dir.path().toStdString()});
        form->SB_H->setValue(12.5);
        QList<platform::BoxRequest> asked;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            asked << box;
            return platform::BoxAnswer::No;
        });
        bool quitRequested = false;
        QObject watch; // ends the connection with this test
        connect(qApp, &QCoreApplication::aboutToQuit, &watch, [&] { quitRequested = true; });
        QTest::mouseClick(form->B_Quit, Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, platform::BoxRequest::YesNo);
        QCOMPARE(asked[0].title, QString("確認"));
        QCOMPARE(asked[0].text, QString("終了しますよろしいですか？"));
        QCoreApplication::processEvents(); // whatever the answer left behind
        QVERIFY(!quitRequested);
        QVERIFY(form->isVisible());
        QCOMPARE(form->SB_H->value(), 12.5);
        QCOMPARE(form->stlf->count(), 1);
    }

    // The real box, answered Yes by a pointer click: the event loop ends
    // with exit code 0.
    void quitAnsweredYesEndsTheProgram()
    {
        auto form = driver::startForm({});
        QString shownText;
        RealBoxAnswer answer([&](QMessageBox& box) {
            shownText = box.text() + "|" + box.windowTitle() + "|" + QString::number(box.buttons().size());
            QVERIFY(box.icon() == QMessageBox::NoIcon);
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        });
        QTimer::singleShot(0, form.get(), [&] { QTest::mouseClick(form->B_Quit, Qt::LeftButton); });
        const int code = QApplication::exec();
        QCOMPARE(code, 0);
        QCOMPARE(shownText, QString("終了しますよろしいですか？|確認|2"));
        form.reset(); // the window is destroyed after the loop, releasing the list
    }

    void closeButtonQuitsWithoutAsking()
    {
        auto form = driver::startForm({});
        bool asked = false;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest&) {
            asked = true;
            return platform::BoxAnswer::No;
        });
        QTimer::singleShot(0, form.get(), [&] { form->close(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!asked);
    }
};

VIEWER_TEST_MAIN(Column)
#include "test_column.moc"
