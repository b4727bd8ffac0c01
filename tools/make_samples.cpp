// Writes a dozen landscape pictures (JPEG, PNG and BMP; wide, tall and square)
// into a folder, so that the viewer has something to show on a machine
// without pictures. Usage: make_samples FOLDER
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

// A ridge of hills across the picture: a sum of two waves at height y.
static QPainterPath hills(QSizeF size, qreal y, qreal amplitude, qreal phase)
{
    QPainterPath path(QPointF(0, size.height()));
    for (int x = 0; x <= 64; ++x) {
        const qreal t = x / 64.0;
        const qreal wave = std::sin(t * 7 + phase) + 0.5 * std::sin(t * 17 + 2 * phase);
        path.lineTo(t * size.width(), y - amplitude * wave);
    }
    path.lineTo(size.width(), size.height());
    return path;
}

// Picture number k: the hue and the sun's place change with k.
static QImage landscape(int k, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int hue = (k * 31) % 360;
    const qreal w = size.width(), h = size.height();

    QLinearGradient sky(0, 0, 0, h * 0.6);
    sky.setColorAt(0, QColor::fromHsv(hue, 160, 120));
    sky.setColorAt(1, QColor::fromHsv((hue + 40) % 360, 90, 250));
    p.fillRect(image.rect(), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv((hue + 60) % 360, 60, 255));
    const qreal sun = std::min(w, h) * 0.09;
    p.drawEllipse(QPointF(w * (0.2 + 0.06 * (k % 10)), h * (0.18 + 0.02 * (k % 5))), sun, sun);

    for (int layer = 0; layer < 3; ++layer) {
        p.setBrush(QColor::fromHsv((hue + 120 + 15 * layer) % 360, 120 + 40 * layer, 190 - 55 * layer));
        p.drawPath(hills(size, h * (0.5 + 0.14 * layer), h * (0.07 - 0.015 * layer), k + 1.7 * layer));
    }
    return image;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_samples: cannot create %s\n", argv[1]);
        return 1;
    }
    struct Kind {
        const char* extension;
        const char* format;
    };
    const Kind kinds[] = {{"jpg", "JPEG"}, {"png", "PNG"}, {"bmp", "BMP"}};
    const QSize sizes[] = {{1200, 800}, {1200, 800}, {800, 1200}, {1000, 1000}};
    for (int k = 0; k < 12; ++k) {
        const Kind& kind = kinds[k % 3];
        const QString path = QString("%1/sample-%2.%3").arg(folder).arg(k + 1, 2, 10, QChar('0')).arg(kind.extension);
        if (!landscape(k, sizes[k % 4]).save(path, kind.format)) {
            std::fprintf(stderr, "make_samples: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
