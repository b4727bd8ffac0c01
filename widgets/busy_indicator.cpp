#include "widgets/busy_indicator.h"
#include <QPainter>
#include <algorithm>

namespace widgets {

constexpr int spokes = 12;
constexpr int tickMs = 33;

int busyLeadingSpoke(qint64 elapsedMs, qint64 turnMs)
{
    return static_cast<int>(elapsedMs % turnMs * spokes / turnMs);
}

BusyIndicator::BusyIndicator(const BusyIndicatorLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
    clock_.start();
    ticker_.setInterval(tickMs);
    connect(&ticker_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void BusyIndicator::showEvent(QShowEvent*)
{
    ticker_.start();
}

void BusyIndicator::hideEvent(QHideEvent*)
{
    ticker_.stop();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width(), height()) / 2.0;
    painter.translate(QRectF(rect()).center());

    const int lead = busyLeadingSpoke(clock_.elapsed(), look_.turnMs);
    QPen pen(look_.spoke, radius * 0.14, Qt::SolidLine, Qt::RoundCap);
    const QLineF spoke(0, -radius * 0.45, 0, -radius * 0.85); // at twelve o'clock
    for (int index = 0; index < spokes; ++index) {
        painter.save();
        painter.rotate(index * 360.0 / spokes); // clockwise on screen
        pen.setColor(look_.spoke);
        painter.setPen(pen);
        painter.drawLine(spoke);
        const int behind = (lead - index + spokes) % spokes;
        QColor overlay = look_.lead;
        overlay.setAlphaF(1.0f - static_cast<float>(behind) / spokes);
        pen.setColor(overlay);
        painter.setPen(pen);
        painter.drawLine(spoke);
        painter.restore();
    }
}

}
