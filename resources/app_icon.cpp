#include "resources/app_icon.h"
#include <QPainter>

namespace resources {

// One framed photograph: white frame, a sky and a hill inside.
static void drawPhoto(QPainter& p, QRectF frame)
{
    p.fillRect(frame, QColor(0xF4, 0xF4, 0xF4));
    const qreal m = frame.width() * 0.12;
    QRectF photo = frame.adjusted(m, m, -m, -m);
    p.fillRect(photo, QColor(0x6C, 0xB4, 0xE8));
    QPolygonF hill;
    hill << photo.bottomLeft() << QPointF(photo.left(), photo.center().y() + photo.height() * 0.1)
         << QPointF(photo.center().x(), photo.center().y() - photo.height() * 0.05)
         << QPointF(photo.right(), photo.center().y() + photo.height() * 0.2) << photo.bottomRight();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4C, 0x9A, 0x3C));
    p.drawPolygon(hill);
}

QImage appIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);

    const QRectF window(2, 4, 44, 40);
    p.fillRect(window, QColor(0x30, 0x30, 0x30));
    p.fillRect(QRectF(3, 5, 42, 7), QColor(0xB8, 0xD8, 0xF4));
    p.fillRect(QRectF(3, 12, 42, 31), Qt::black);

    // Back pictures first, so the large front one stands before them.
    drawPhoto(p, QRectF(5, 20, 8, 7));
    drawPhoto(p, QRectF(35, 20, 8, 7));
    drawPhoto(p, QRectF(21, 15, 6, 5));
    drawPhoto(p, QRectF(14, 22, 20, 16));
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

}
