#include "support/real_box.h"
#include <QApplication>

RealBoxAnswer::RealBoxAnswer(std::function<void(QMessageBox& box)> answer)
{
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer_.stop();
            answer(*box);
        }
    });
    timer_.start(20);
}
