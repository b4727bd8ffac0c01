#include "support/fixtures.h"
#include <QBuffer>
#include <QPainter>
#include <QtTest>
#include <filesystem>
#include <fstream>

namespace fixtures {

QColor slotColour(int slot)
{
    return QColor::fromHsv(slot * 40, 255, 200);
}

static void makeParent(const std::string& path)
{
    auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent);
}

static QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode a fixture picture as %s", format);
    return bytes;
}

QByteArray encodedPicture(QSize size, QColor colour, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, format);
}

// Encoded in memory and written with the native bytes of the name, so that
// names which are not valid UTF-8 work too.
void writeImage(const std::string& path, const QImage& image, const char* format)
{
    writeText(path, encoded(image, format).toStdString());
}

void writePicture(const std::string& path, QSize size, QColor colour, const char* format)
{
    writeText(path, encodedPicture(size, colour, format).toStdString());
}

void writeText(const std::string& path, const std::string& text)
{
    makeParent(path);
    std::ofstream(path, std::ios::binary) << text;
}

void makeFolder(const std::string& path)
{
    std::filesystem::create_directories(path);
}

QImage quadrantImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    const int w = size.width() / 2, h = size.height() / 2;
    p.fillRect(0, 0, w, h, Qt::red);
    p.fillRect(w, 0, size.width() - w, h, Qt::green);
    p.fillRect(0, h, w, size.height() - h, Qt::blue);
    p.fillRect(w, h, size.width() - w, size.height() - h, Qt::yellow);
    return image;
}

}
