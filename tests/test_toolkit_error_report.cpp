// The error report: its text rule, and the real box it shows.
#include "support/real_box.h"
#include "toolkit/error_report.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class ErrorReport : public QObject {
    Q_OBJECT
private slots:
    void fullStopRule_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ends in a letter") << "Disk full" << "Disk full.";
        QTest::newRow("ends in a space") << "ファイル x は開けません。 Permission denied " << "ファイル x は開けません。 Permission denied ";
        QTest::newRow("ends in a full stop") << "Done." << "Done.";
        QTest::newRow("ends in a comma") << "a," << "a,";
        QTest::newRow("ends in a slash") << "a/" << "a/.";
        QTest::newRow("ends in Japanese") << "開けません" << "開けません.";
        QTest::newRow("empty") << "" << "";
    }
    void fullStopRule()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(toolkit::errorReportText(message), shown);
    }

    // An error escaping a handler is shown in a box with an empty title, no
    // icon and one OK button that Escape answers; the program goes on.
    void escapedErrorShowsTheBox()
    {
        QString seen;
        RealBoxAnswer answer([&](QMessageBox& box) {
            seen = box.windowTitle() + "|" + box.text() + "|" + QString::number(box.buttons().size()) + "|"
                + QString::number(box.icon());
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        QObject target;
        bool after = false;
        QTimer::singleShot(0, &target, [] { throw toolkit::Error("Something failed"); });
        QTimer::singleShot(50, &target, [&] { after = true; });
        QTRY_VERIFY(after);
        QCOMPARE(seen, QString("|Something failed.|1|0"));
    }
};

int main(int argc, char** argv)
{
    toolkit::Application app(argc, argv);
    ErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_toolkit_error_report.moc"
