// The error report: its text rule, and the real box it shows.
#include "platform/error_report.h"
#include "support/real_box.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <memory>
#include <stdexcept>

namespace {

// A text property of a window as the X server holds it; "(none)" when the
// window does not have it.
QByteArray x11Property(xcb_window_t window, const char* name)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return "(no X11)";
    xcb_connection_t* connection = x11->connection();
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, strlen(name), name), nullptr), &free);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> value(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr),
        &free);
    if (!value || value->type == XCB_NONE)
        return "(none)";
    return QByteArray(static_cast<const char*>(xcb_get_property_value(value.get())),
                      xcb_get_property_value_length(value.get()));
}

}

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
        QCOMPARE(platform::errorReportText(message), shown);
    }

    // An error escaping a handler is shown in a box with an empty title, no
    // icon and one OK button that Escape answers; the program goes on.
    void escapedErrorShowsTheBox()
    {
        QString seen;
        QByteArray titles;
        RealBoxAnswer answer([&](QMessageBox& box) {
            seen = box.windowTitle() + "|" + box.text() + "|" + QString::number(box.buttons().size()) + "|"
                + QString::number(box.icon());
            // What the window manager is given to show: Qt on X11 would put
            // the program's name in an empty title.
            titles = x11Property(box.winId(), "_NET_WM_NAME") + "|" + x11Property(box.winId(), "WM_NAME");
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        QObject target;
        bool after = false;
        QTimer::singleShot(0, &target, [] { throw platform::Error("Something failed"); });
        QTimer::singleShot(50, &target, [&] { after = true; });
        QTRY_VERIFY(after);
        QCOMPARE(seen, QString("|Something failed.|1|0"));
        QCOMPARE(titles, QByteArray("|"));
    }

    // Whatever escapes, the program goes on and says what it can of it.
    void everyEscapedExceptionIsReported_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("error") << 0 << QString("ファイルがありません.");
        QTest::newRow("standard exception") << 1 << QString("disk full.");
        QTest::newRow("anything else") << 2 << QString("原因のわからないエラーが起きました.");
    }
    void everyEscapedExceptionIsReported()
    {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QStringList texts;
        platform::Application::running().setBoxAnswerer([&](const platform::BoxRequest& box) {
            texts << box.text;
            return platform::BoxAnswer::Ok;
        });
        QObject target;
        QTimer::singleShot(0, &target, [kind] {
            if (kind == 0)
                throw platform::Error("ファイルがありません");
            if (kind == 1)
                throw std::runtime_error("disk full");
            throw 42;
        });
        QTRY_COMPARE(texts, QStringList{shown});
        platform::Application::running().setBoxAnswerer({});
    }
};

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    ErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_toolkit_error_report.moc"
