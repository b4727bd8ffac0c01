#include "toolkit/picture_reader.h"
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

static qint64 pixels(QSize size)
{
    return qint64(size.width()) * size.height();
}

// size shrunk, keeping its aspect, until neither side exceeds maxSide and
// its area stays within pixelBudget; unchanged if it already fits.
static QSize fitted(QSize size, int maxSide, qint64 pixelBudget)
{
    if (size.isEmpty())
        return size;
    const double factor = std::min({1.0,
        double(maxSide) / std::max(size.width(), size.height()),
        std::sqrt(double(pixelBudget) / double(pixels(size)))});
    if (factor >= 1)
        return size;
    return {std::max(1, int(size.width() * factor)), std::max(1, int(size.height() * factor))};
}

static PictureRead decode(QIODevice* device, int maxSide, qint64 pixelBudget)
{
    PictureRead result;
    result.status = PictureRead::Undecodable;

    // Qt refuses anything over 128 MB by default; allow exactly the budget.
    // The limit is process-wide, and every read sets it the same way.
    QImageReader::setAllocationLimit(int(std::max<qint64>(1, pixelBudget * 4 >> 20)));
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    // Unlike most viewers we ignore orientation tags: pictures show as stored.
    reader.setAutoTransform(false);

    // The header's size decides before any pixel is decoded, so a small file
    // declaring a huge picture cannot take all memory.
    const QSize declared = reader.size();
    const QSize wanted = fitted(declared, maxSide, pixelBudget);
    if (wanted != declared) {
        if (reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(wanted);
        else if (pixels(declared) > pixelBudget)
            return result;
    }
    QImage image = reader.read();
    if (image.isNull())
        return result;
    result.realSize = declared.isValid() ? declared : image.size();

    // Formats that cannot decode scaled, or did not declare a size, shrink here.
    if (const QSize fit = fitted(image.size(), maxSide, pixelBudget); fit != image.size())
        image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    result.status = PictureRead::Loaded;
    result.image = std::move(image);
    return result;
}

PictureRead readPicture(const std::string& path, int maxSide)
{
    return readPicture(path, maxSide, pictureBudget);
}

PictureRead readPicture(const std::string& path, int maxSide, qint64 pixelBudget)
{
    PictureRead result;
    // A path whose attributes cannot be read counts as a folder: no picture.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return result;

    // Non-blocking so that a named pipe cannot hang us; files ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.status = PictureRead::CannotOpen;
        result.error = errno;
        return result;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly)) {
        result.status = PictureRead::Undecodable;
        return result;
    }
    return decode(&file, maxSide, pixelBudget);
}

}
