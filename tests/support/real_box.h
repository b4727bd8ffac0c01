#pragma once
// Answers the next real modal message box: a timer looks for it while the
// box's own event loop runs, and hands it to answer once.
#include <QMessageBox>
#include <QTimer>
#include <functional>

class RealBoxAnswer {
public:
    explicit RealBoxAnswer(std::function<void(QMessageBox& box)> answer);

private:
    QTimer timer_;
};
