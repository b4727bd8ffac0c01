#include "toolkit/picture_reader.h"
#include "toolkit/bmp_reader.h"
#include "toolkit/huge_page_image.h"
#include "toolkit/png_reader.h"
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace toolkit {

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

PictureFile::PictureFile(PictureFile&& other) noexcept
    : status_(other.status_), error_(other.error_), identity_(other.identity_), fd_(std::exchange(other.fd_, -1))
{
}

PictureFile& PictureFile::operator=(PictureFile&& other) noexcept
{
    std::swap(status_, other.status_);
    std::swap(error_, other.error_);
    std::swap(identity_, other.identity_);
    std::swap(fd_, other.fd_);
    return *this;
}

PictureFile::~PictureFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

PictureFile openPicture(const std::string& path)
{
    PictureFile file;
    // A path whose attributes cannot be read counts as a folder: no picture.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return file;

    // Non-blocking so that a named pipe cannot hang us; files ignore the flag.
    file.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.fd_ < 0) {
        file.status_ = PictureRead::CannotOpen;
        file.error_ = errno;
        return file;
    }
    file.status_ = PictureRead::Loaded;
    if (::fstat(file.fd_, &info) == 0)
        file.identity_ = {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    return file;
}

void setDecoderAllocationLimit()
{
    // Qt refuses anything over 128 MB by default; allow exactly the budget.
    QImageReader::setAllocationLimit(int(pictureBudget * 4 >> 20));
}

static PictureRead decodeWithQt(QIODevice* device, const DecodeRequest& request)
{
    PictureRead result;
    result.status = PictureRead::Undecodable;
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    // Unlike most viewers we ignore orientation tags: pictures show as stored.
    reader.setAutoTransform(false);

    // The header's size decides before any pixel is decoded, so a small file
    // declaring a huge picture cannot take all memory.
    const QSize declared = reader.size();
    const QSize wanted = fittedSize(declared, request);
    if (wanted != declared) {
        if (reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(wanted);
        else if (pixelCount(declared) > request.pixelBudget)
            return result;
    }
    QImage image = reader.read();
    if (image.isNull())
        return result;
    result.realSize = declared.isValid() ? declared : image.size();

    // Formats that cannot decode scaled, or did not declare a size, shrink here.
    if (const QSize fit = declared.isValid() ? wanted : fittedSize(image.size(), request); fit != image.size())
        image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.convertTo(request.format);
    result.status = PictureRead::Loaded;
    result.image = std::move(image);
    return result;
}

// libjpeg-turbo decodes straight into the 32-bit layout we keep, which Qt's
// reader does not.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

enum class JpegOutcome { Decoded, Refused, NotForUs };

// What a JPEG's header says of its decode for a request.
struct JpegLayout {
    QSize declared, decoded;
};

// Makes info ready to decode bytes as request asks, up to the start of its
// pixels. Called only inside a frame that catches errors by setjmp.
static void setUpJpeg(jpeg_decompress_struct& info, const QByteArray& bytes, const DecodeRequest& request)
{
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    const QSize declared(int(info.image_width), int(info.image_height));
    info.scale_num = 1;
    info.scale_denom = reductionFor(declared, fittedSize(declared, request), 8);
    // JPEG has no alpha: opaque pixels are premultiplied as they stand.
    if (request.format == QImage::Format_RGBA8888_Premultiplied)
        info.out_color_space = JCS_EXT_RGBA;
    else
        info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
}

// Installs the handlers that turn libjpeg's errors into a longjmp to jump
// and keep its warnings to itself.
static void catchJpegErrors(jpeg_decompress_struct& info, JpegErrors& errors)
{
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->jump, 1);
    };
    errors.manager.output_message = [](j_common_ptr) {}; // warnings are not ours to show
}

// Reads the header of bytes. Refused: broken. NotForUs: colour spaces
// (CMYK, YCCK) that Qt's reader converts and this path does not. Nothing
// with a destructor lives in this frame, since errors leave it by longjmp;
// the same holds for decodeJpegRows.
static JpegOutcome readJpegLayout(const QByteArray& bytes, const DecodeRequest& request, JpegLayout& layout)
{
    // Zeroed, so that destroying it is safe even if creating it failed.
    jpeg_decompress_struct info{};
    JpegErrors errors;
    catchJpegErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return JpegOutcome::Refused;
    }
    setUpJpeg(info, bytes, request);
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr
        && info.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&info);
        return JpegOutcome::NotForUs;
    }
    jpeg_calc_output_dimensions(&info);
    layout = {{int(info.image_width), int(info.image_height)}, {int(info.output_width), int(info.output_height)}};
    jpeg_destroy_decompress(&info);
    return JpegOutcome::Decoded;
}

// The rows of the decoded picture from first up to last, written at pixels
// (row 0's address) with stride bytes between rows. The rows above first
// are only entropy-decoded, which is all the format requires to reach
// them; the ones below last not at all. False: broken or stopped.
static bool decodeJpegRows(const QByteArray& bytes, const DecodeRequest& request, uchar* pixels, qsizetype stride,
                           int first, int last)
{
    jpeg_decompress_struct info{};
    JpegErrors errors;
    catchJpegErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    setUpJpeg(info, bytes, request);
    jpeg_start_decompress(&info);
    if (first > 0)
        jpeg_skip_scanlines(&info, JDIMENSION(first));
    JSAMPROW rows[16];
    while (int(info.output_scanline) < last) {
        if (request.stop.stop_requested())
            std::longjmp(errors.jump, 1);
        const int count = std::min(16, last - int(info.output_scanline));
        for (int i = 0; i < count; ++i)
            rows[i] = pixels + stride * (qsizetype(info.output_scanline) + i);
        jpeg_read_scanlines(&info, rows, JDIMENSION(count));
    }
    jpeg_destroy_decompress(&info);
    return true;
}

// Where a decode on two threads splits the rows: the thread that decodes
// the lower band first entropy-decodes the upper one, so the upper band is
// the larger, to end both at about the same time.
static int upperBandRows(int height)
{
    return height * 7 / 10;
}

// Decodes bytes into result's picture, at a reduction that keeps it at
// least the detail wanted; with request.threads above one, in two bands of
// rows at once.
static JpegOutcome decodeJpeg(const QByteArray& bytes, const DecodeRequest& request, PictureRead& result)
{
    JpegLayout layout;
    if (const JpegOutcome outcome = readJpegLayout(bytes, request, layout); outcome != JpegOutcome::Decoded)
        return outcome;
    if (pixelCount(layout.decoded) > request.pixelBudget || request.stop.stop_requested())
        return JpegOutcome::Refused;
    QImage image = hugePageImage(layout.decoded, request.format);
    if (image.isNull())
        return JpegOutcome::Refused;
    // Both threads write through these, never through the shared QImage.
    uchar* const pixels = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int height = image.height();
    bool decoded = false;
    if (request.threads > 1 && height >= 64) {
        const int split = upperBandRows(height);
        bool lower = false;
        std::thread helper([&] { lower = decodeJpegRows(bytes, request, pixels, stride, split, height); });
        decoded = decodeJpegRows(bytes, request, pixels, stride, 0, split);
        helper.join();
        decoded = decoded && lower;
    } else {
        decoded = decodeJpegRows(bytes, request, pixels, stride, 0, height);
    }
    if (!decoded)
        return JpegOutcome::Refused;
    result.image = std::move(image);
    result.realSize = layout.declared;
    return JpegOutcome::Decoded;
}

// Our own readers for regular files in the formats they know; Qt's for the
// rest (JPEG colour spaces we leave to it, other formats, pipes).
static PictureRead decodeContent(QFile& file, const DecodeRequest& request)
{
    struct stat info;
    const bool regular = ::fstat(file.handle(), &info) == 0 && S_ISREG(info.st_mode);
    const QByteArray start = file.peek(8);
    if (regular && isPng(start))
        return decodePng(file, info.st_size, request);
    if (regular && isBmp(start))
        return decodeBmp(file.readAll(), request);
    if (!regular || !start.startsWith("\xff\xd8\xff"))
        return decodeWithQt(&file, request);

    const QByteArray bytes = file.readAll();
    PictureRead result;
    switch (decodeJpeg(bytes, request, result)) {
    case JpegOutcome::Decoded:
        result.status = PictureRead::Loaded;
        return result;
    case JpegOutcome::Refused:
        return PictureRead{PictureRead::Undecodable, 0, {}, {}};
    case JpegOutcome::NotForUs:
        break;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeWithQt(&buffer, request);
}

static PictureRead decodeFile(int fd, const DecodeRequest& request)
{
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly))
        return PictureRead{PictureRead::Undecodable, 0, {}, {}};
    PictureRead result = decodeContent(file, request);
    // Readers that decode reduced by a power of two leave the final fit here;
    // one that had to reduce further for the budget is not enlarged again.
    const QSize fit = fittedSize(result.realSize, request);
    if (result.status == PictureRead::Loaded
        && (result.image.width() > fit.width() || result.image.height() > fit.height())) {
        result.image = result.image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        result.image.convertTo(request.format);
    }
    return result;
}

PictureRead decodePicture(PictureFile file, const DecodeRequest& request)
{
    if (file.descriptor() < 0) {
        PictureRead result;
        result.status = file.status();
        result.error = file.error();
        return result;
    }
    return decodeFile(file.descriptor(), request);
}

PictureRead readPicture(const std::string& path, int maxSide)
{
    return readPicture(path, maxSide, pictureBudget);
}

PictureRead readPicture(const std::string& path, int maxSide, qint64 pixelBudget)
{
    return decodePicture(openPicture(path), {maxSide, pixelBudget, QImage::Format_ARGB32_Premultiplied, {}});
}

}
