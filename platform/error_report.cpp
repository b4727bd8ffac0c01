#include "platform/error_report.h"
#include <cstdio>
#include <cstdlib>

namespace platform {

Error::Error(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

QString errorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void showErrorReport(const QString& message)
{
    Application::showBox({BoxRequest::Ok, QString(), errorReportText(message)});
}

void reportErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Error& error) {
        showErrorReport(error.message());
    } catch (const std::exception& error) {
        showErrorReport(QString::fromLocal8Bit(error.what()));
    }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application& Application::running()
{
    auto* application = dynamic_cast<Application*>(QCoreApplication::instance());
    if (!application) {
        std::fputs("platform::Application::running: the running application is not the program's own\n", stderr);
        std::abort();
    }
    return *application;
}

BoxAnswer Application::showBox(const BoxRequest& request)
{
    // A program of plain QApplication (a test of the controls alone) shows
    // its boxes.
    const auto* application = dynamic_cast<Application*>(QCoreApplication::instance());
    if (application && application->answerer_)
        return application->answerer_(request);
    return showModalBox(request);
}

// Shown once the event that raised it is done with, so that no box opens in
// the middle of delivering an event.
static void reportLater(const QString& message)
{
    QMetaObject::invokeMethod(qApp, [message] { showErrorReport(message); }, Qt::QueuedConnection);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        reportLater(error.message());
    } catch (const std::exception& error) {
        reportLater(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportLater(QString::fromUtf8(unknownErrorText));
    }
    return false;
}

}
