#pragma once
// Errors are exceptions carrying a message for the user. One that escapes an
// event handler is caught by Application::notify() and shown in the error
// report box; the program carries on.
#include "platform/modal_box.h"
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

// Shows the error report box for message (through Application::showBox).
void showErrorReport(const QString& message);

// Runs handler; an error escaping it is shown in the error report. Event
// handlers are called through this, so no exception unwinds through Qt.
void reportErrors(const std::function<void()>& handler);

// What the report says of an exception that carries no message.
inline constexpr const char* unknownErrorText = "原因のわからないエラーが起きました";

// Catches what escapes an event handler anyway, as the last line of defence,
// and reports it once the event is done with. It holds the seam every modal
// box of the program goes through.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The running application; the program and its tests make it ours.
    static Application& running();
    // Shows request as a modal box and returns the answer, or has the
    // answerer set on the running application answer without a box.
    static BoxAnswer showBox(const BoxRequest& request);
    // Answers boxes by answerer instead of showing them, until reset with an
    // empty function: tests answer every box so, and never block on one.
    void setBoxAnswerer(BoxAnswerer answerer) { answerer_ = std::move(answerer); }

private:
    BoxAnswerer answerer_;
};

}
