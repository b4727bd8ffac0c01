// Writes the program's icon, painted by resources::appIconImage, into a file
// for installing: a PNG of one size, or a Windows .ico holding several sizes.
// Usage: make_icons OUTPUT.png SIZE | make_icons OUTPUT.ico SIZE...
#include "resources/app_icon.h"
#include <QBuffer>
#include <QDataStream>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>

static QByteArray png(int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    resources::appIconImage(size).save(&buffer, "PNG");
    return bytes;
}

// An .ico whose entries are PNG images, which Windows reads from Vista on.
static QByteArray ico(const QList<int>& sizes)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size()); // reserved, type icon, count
    QByteArray images;
    quint32 offset = 6 + 16 * sizes.size();
    for (int size : sizes) {
        const QByteArray image = png(size);
        const quint8 side = size >= 256 ? 0 : size; // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32) << quint32(image.size())
            << offset;
        offset += image.size();
        images += image;
    }
    out.writeRawData(images.constData(), images.size());
    return bytes;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons OUTPUT.png SIZE | make_icons OUTPUT.ico SIZE...\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QList<int> sizes;
    for (int i = 2; i < argc; ++i) {
        sizes << std::atoi(argv[i]);
        if (sizes.back() < 1 || sizes.back() > 256) {
            std::fprintf(stderr, "make_icons: a size is 1 to 256 pixels, not %s\n", argv[i]);
            return 2;
        }
    }
    const bool windowsIcon = path.endsWith(".ico");
    if (!windowsIcon && sizes.size() != 1) {
        std::fprintf(stderr, "make_icons: a PNG file holds one size\n");
        return 2;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(windowsIcon ? ico(sizes) : png(sizes[0])) < 0
        || !file.commit()) {
        std::fprintf(stderr, "make_icons: cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
