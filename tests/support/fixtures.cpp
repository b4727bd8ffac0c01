#include "support/fixtures.h"
#include <QBuffer>
#include <QPainter>
#include <QtTest>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

bool writeDeepTree(const std::string& root, int depth, const std::map<int, QByteArray>& pictures)
{
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 1; level <= depth && folder >= 0; ++level) {
        const bool made = ::mkdirat(folder, "d", 0755) == 0;
        const int below = made ? ::openat(folder, "d", O_RDONLY | O_DIRECTORY) : -1;
        ::close(folder);
        folder = below;
        const auto picture = pictures.find(level);
        if (folder < 0 || picture == pictures.end())
            continue;
        const int file = ::openat(folder, "a.png", O_WRONLY | O_CREAT, 0644);
        const bool written = file >= 0 && ::write(file, picture->second.constData(), size_t(picture->second.size()))
            == picture->second.size();
        ::close(file);
        if (!written) {
            ::close(folder);
            return false;
        }
    }
    if (folder < 0)
        return false;
    ::close(folder);
    return true;
}

std::string deepFolder(const std::string& root, int levels)
{
    std::string path = root;
    for (int level = 0; level < levels; ++level)
        path += "/d";
    return path;
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
