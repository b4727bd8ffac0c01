#include "image/picture_reader.h"
#include "image/bmp_reader.h"
#include "image/huge_page_memory.h"
#include "image/png_reader.h"
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <memory>
#include <thread>
#include <utility>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace image {

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
        closeFile(fd_);
}

PictureFile openPicture(const std::string& path)
{
    const OpenedFile opened = openForReading(path);
    PictureFile file;
    file.fd_ = opened.descriptor;
    file.error_ = opened.error;
    file.identity_ = opened.identity;
    switch (opened.outcome) {
    case OpenedFile::Opened:
        file.status_ = PictureRead::Loaded;
        break;
    case OpenedFile::Absent:
        file.status_ = PictureRead::Missing;
        break;
    case OpenedFile::Refused:
        file.status_ = PictureRead::CannotOpen;
        break;
    }
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

// What a JPEG's header says of its decode for a request: the picture's
// size, the size it decodes to, and the pixels of that kept: the part asked
// for (see partPixels).
struct JpegLayout {
    QSize declared, decoded;
    QRect kept;
    // When kept is narrower than the decoded picture, the columns decoded
    // for it: from a block's edge, with at least one column more on either
    // side, since a crop's edge columns lack the chroma of the column beyond
    // them and so are not the picture's.
    bool cropped = false;
    int cropLeft = 0, cropWidth = 0;
    // Progressive: every row waits for the whole file, which each band's
    // decoder would read and hold at full size on its own.
    bool multipleScans = false;
};

// What libjpeg may allocate for one decode: as much as the largest picture
// we keep.
constexpr qint64 jpegMemoryLimit = pictureBudget * 4;

// Every block of every component takes at least one bit of the file (a
// Huffman code is never shorter), so a header declaring more blocks than
// that promises a picture its bytes cannot hold; decoding it anyway would
// cost time in proportion to the declared size, not to the file.
static bool jpegBlocksFit(const jpeg_decompress_struct& info, qsizetype fileBytes)
{
    qint64 blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += qint64(info.comp_info[i].width_in_blocks) * info.comp_info[i].height_in_blocks;
    return blocks <= qint64(fileBytes) * 8;
}

// Makes info ready to decode bytes as request asks, up to the start of its
// pixels. Called only inside a frame that catches errors by setjmp.
static void setUpJpeg(jpeg_decompress_struct& info, const QByteArray& bytes, const DecodeRequest& request)
{
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof info);
    // A progressive file keeps all its coefficients at full size whatever
    // the reduction; past this libjpeg refuses instead of allocating.
    info.mem->max_memory_to_use = long(jpegMemoryLimit);
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

// libjpeg-turbo's column crop takes a component's width wrongly when its
// inverse DCT enlarges it and upsampling still has to follow (4:1:0 decoded
// reduced, for one); such pictures are decoded in whole rows.
static bool jpegCropsRight(const jpeg_decompress_struct& info)
{
    return std::all_of(info.comp_info, info.comp_info + info.num_components, [&](const jpeg_component_info& component) {
        const bool upsampled
            = component.h_samp_factor * component.DCT_scaled_size != info.max_h_samp_factor * info.min_DCT_scaled_size
            || component.v_samp_factor * component.DCT_scaled_size != info.max_v_samp_factor * info.min_DCT_scaled_size;
        return component.DCT_scaled_size == info.min_DCT_scaled_size || !upsampled;
    });
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
    if (!jpegBlocksFit(info, bytes.size())) {
        jpeg_destroy_decompress(&info);
        return JpegOutcome::Refused;
    }
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr
        && info.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&info);
        return JpegOutcome::NotForUs;
    }
    jpeg_calc_output_dimensions(&info);
    layout.declared = {int(info.image_width), int(info.image_height)};
    layout.decoded = {int(info.output_width), int(info.output_height)};
    layout.kept = {QPoint(0, 0), layout.decoded};
    layout.cropped = false;
    layout.multipleScans = jpeg_has_multiple_scans(&info);
    // A progressive file is all decoded before its first row comes out, and
    // a picture fitted further is cropped once it has its final size.
    if (!layout.multipleScans && jpegCropsRight(info)
        && layout.decoded == fittedSize(layout.declared, request)) {
        const QRect wanted = partPixels(request.part, layout.decoded);
        if (wanted.width() < layout.decoded.width()) {
            jpeg_start_decompress(&info);
            const int from = std::max(0, wanted.left() - 1);
            const int to = std::min(layout.decoded.width(), wanted.x() + wanted.width() + 1);
            JDIMENSION left = JDIMENSION(from), width = JDIMENSION(to - from);
            jpeg_crop_scanline(&info, &left, &width);
            layout.cropped = true;
            layout.cropLeft = int(left);
            layout.cropWidth = int(width);
        }
        layout.kept = wanted;
    }
    jpeg_destroy_decompress(&info);
    return JpegOutcome::Decoded;
}

// Rows of a crop come here first, sixteen at a time, to leave the columns
// decoded beyond the kept ones.
static qsizetype stagingRowBytes(const JpegLayout& layout)
{
    return qsizetype(layout.cropWidth) * 4;
}

// The rows of the decoded picture from first up to last, of the columns
// layout keeps, written at pixels (the address of layout's first kept row)
// with stride bytes between rows; through staging (16 rows of
// stagingRowBytes) when layout crops. The rows above first are
// only entropy-decoded, which is all the format requires to reach them;
// the ones below last not at all. False: broken or stopped.
static bool decodeJpegRows(const QByteArray& bytes, const DecodeRequest& request, const JpegLayout& layout,
                           uchar* pixels, qsizetype stride, uchar* staging, int first, int last)
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
    if (layout.cropped) {
        JDIMENSION left = JDIMENSION(layout.cropLeft), width = JDIMENSION(layout.cropWidth);
        jpeg_crop_scanline(&info, &left, &width);
    }
    if (first > 0)
        jpeg_skip_scanlines(&info, JDIMENSION(first));
    JSAMPROW rows[16];
    const qsizetype staged = stagingRowBytes(layout);
    const qsizetype skipped = qsizetype(layout.kept.left() - layout.cropLeft) * 4;
    while (int(info.output_scanline) < last) {
        if (request.stop.stop_requested())
            std::longjmp(errors.jump, 1);
        const int count = std::min(16, last - int(info.output_scanline));
        uchar* const out = pixels + stride * (qsizetype(info.output_scanline) - layout.kept.top());
        for (int i = 0; i < count; ++i)
            rows[i] = layout.cropped ? staging + staged * i : out + stride * i;
        const int read = int(jpeg_read_scanlines(&info, rows, JDIMENSION(count)));
        for (int i = 0; layout.cropped && i < read; ++i)
            std::memcpy(out + stride * i, rows[i] + skipped, std::size_t(layout.kept.width()) * 4);
    }
    // The rows below last are left unread.
    jpeg_abort_decompress(&info);
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
    QImage image = hugePageImage(layout.kept.size(), request.format);
    if (image.isNull())
        return JpegOutcome::Refused;
    // Both threads write through these, never through the shared QImage.
    uchar* const pixels = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int top = layout.kept.top(), bottom = top + layout.kept.height();
    // One staging area for each band.
    std::vector<uchar> staging(layout.cropped ? std::size_t(stagingRowBytes(layout)) * 32 : 0);
    uchar* const upperStaging = staging.data();
    uchar* const lowerStaging = staging.data() + staging.size() / 2;
    bool decoded = false;
    if (request.threads > 1 && !layout.multipleScans && bottom - top >= 64) {
        const int split = top + upperBandRows(bottom - top);
        bool lower = false;
        std::thread helper([&] {
            lower = decodeJpegRows(bytes, request, layout, pixels, stride, lowerStaging, split, bottom);
        });
        decoded = decodeJpegRows(bytes, request, layout, pixels, stride, upperStaging, top, split);
        helper.join();
        decoded = decoded && lower;
    } else {
        decoded = decodeJpegRows(bytes, request, layout, pixels, stride, upperStaging, top, bottom);
    }
    if (!decoded)
        return JpegOutcome::Refused;
    result.image = std::move(image);
    result.realSize = layout.declared;
    result.part = partFraction(layout.kept, layout.decoded);
    return JpegOutcome::Decoded;
}

// No JPEG or BMP within the pixel budget needs a bigger file: a BMP holds
// at most four bytes a pixel, a JPEG far fewer.
constexpr qint64 contentLimit = pictureBudget * 4;

// A regular file's content, size bytes from its current position; bytes
// stays valid while the content lives. A big one goes to huge pages: the
// first touch of a 7 MB photo's small pages costs a sixth of its decode.
// Empty bytes when the memory cannot be had.
struct FileContent {
    std::unique_ptr<HugePageMemory> memory;
    QByteArray bytes;
};

static FileContent readContent(QFile& file, qint64 size)
{
    FileContent content;
    if (!HugePageMemory::worthwhile(std::size_t(size))) {
        content.bytes = file.read(size);
        return content;
    }
    content.memory = std::make_unique<HugePageMemory>(std::size_t(size));
    if (content.memory->empty())
        return content;
    const qint64 read = file.read(content.memory->data(), size);
    content.bytes = QByteArray::fromRawData(content.memory->data(), qsizetype(std::max<qint64>(read, 0)));
    return content;
}

// Our own readers for regular files in the formats they know; Qt's for the
// rest (JPEG colour spaces we leave to it, other formats, pipes).
static PictureRead decodeContent(QFile& file, const DecodeRequest& request)
{
    const std::optional<std::int64_t> size = regularFileSize(file.handle());
    const bool regular = size.has_value();
    const QByteArray start = file.peek(8);
    if (regular && isPng(start))
        return decodePng(file, *size, request);
    const bool bmp = regular && isBmp(start);
    if (!bmp && (!regular || !start.startsWith("\xff\xd8\xff")))
        return decodeWithQt(&file, request);
    if (*size > contentLimit)
        return PictureRead{PictureRead::Undecodable, 0, {}, {}};
    const FileContent content = readContent(file, *size);
    if (bmp)
        return decodeBmp(content.bytes, request);

    const QByteArray& bytes = content.bytes;
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
    // Readers that decode the whole picture give up all but the part here.
    if (result.status == PictureRead::Loaded && result.part == wholePicture) {
        const QRect kept = partPixels(request.part, result.image.size());
        if (kept.size() != result.image.size()) {
            result.part = partFraction(kept, result.image.size());
            result.image = result.image.copy(kept);
        }
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
