#pragma once
// Errors are exceptions carrying a message for the user. One that escapes an
// event handler is caught by Application::notify() and shown in the error
// report box; the program carries on.
#include <QApplication>
#include <QString>
#include <functional>
#include <stdexcept>

namespace platform {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

// The text the error report shows: "." appended when the last character's
// code is above that of ".".
QString errorReportText(const QString& message);

// Shows the error report box for message (through the modal-box seam).
void showErrorReport(const QString& message);

// Runs handler; an error escaping it is shown in the error report. Event
// handlers are called through this, so no exception unwinds through Qt.
void reportErrors(const std::function<void()>& handler);

// What the report says of an exception that carries no message.
inline constexpr const char* unknownErrorText = "原因のわからないエラーが起きました";

// Catches what escapes an event handler anyway, as the last line of defence,
// and reports it once the event is done with.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}
