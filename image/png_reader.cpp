#include "image/png_reader.h"
#include "image/huge_page_memory.h"
#include "image/premultiplied_pixels.h"
#include "image/row_reducer.h"
#include <csetjmp>
#include <optional>
#include <png.h>
#include <vector>

namespace image {

namespace {

// Deflate packs at most 258 bytes into a little over two bits, so its data
// never inflates to more than about 1032 times its size.
constexpr qint64 inflationLimit = 1032;

// Everything with a destructor that a decode fills in; it lives outside
// the frame that libpng's errors leave by longjmp.
struct PngDecode {
    QIODevice& file;
    qint64 fileSize;
    const DecodeRequest& request;
    PictureRead result;
    std::vector<uchar> row;
    std::optional<RowReducer> reducer;
};

void readBytes(png_structp png, png_bytep data, size_t length)
{
    auto* decode = static_cast<PngDecode*>(png_get_io_ptr(png));
    if (decode->file.read(reinterpret_cast<char*>(data), qint64(length)) != qint64(length))
        png_error(png, "the file ends early");
}

// Whether the header is believable and the picture can be had within the
// request: sets the decoded image up, reducing when needed, and returns
// the reduction; 0 refuses.
int prepare(png_structp png, png_infop info, PngDecode& decode)
{
    const QSize declared(int(png_get_image_width(png, info)), int(png_get_image_height(png, info)));
    const qint64 rawBytes = qint64(png_get_rowbytes(png, info) + 1) * declared.height();
    if (declared.isEmpty() || rawBytes > decode.fileSize * inflationLimit)
        return 0;
    // An interlaced picture is only complete after its last pass, so it is
    // read at full size.
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    const int largest = interlaced ? 1 : RowReducer::largestReduction;
    int reduction = reductionFor(declared, fittedSize(declared, decode.request), largest);
    while (pixelCount(reducedSize(declared, reduction)) > decode.request.pixelBudget && reduction < largest)
        reduction *= 2;
    const QSize decoded = reducedSize(declared, reduction);
    if (pixelCount(decoded) > decode.request.pixelBudget)
        return 0;
    decode.result.image = hugePageImage(decoded, decode.request.format);
    if (decode.result.image.isNull())
        return 0;
    decode.result.realSize = declared;
    if (reduction > 1) {
        decode.row.resize(size_t(declared.width()) * 4);
        decode.reducer.emplace(decode.result.image, reduction, declared.width(), declared.height());
    }
    return reduction;
}

// Every colour type and depth to 8-bit straight RGBA in the order wanted.
void convertToFourChannels(png_structp png, ChannelOrder order)
{
    png_set_expand(png); // palette to colours, small grey depths to 8 bits, transparency chunks to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, order.alpha == 0 ? PNG_FILLER_BEFORE : PNG_FILLER_AFTER);
    if (order.red > order.blue)
        png_set_bgr(png);
    if (order.alpha == 0)
        png_set_swap_alpha(png);
}

// Whether every pixel is opaque, so that premultiplying leaves it as it is.
bool opaque(png_structp png, png_infop info)
{
    return (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) == 0 && png_get_valid(png, info, PNG_INFO_tRNS) == 0;
}

bool readRows(png_structp png, png_infop info, int passes, bool premultiply, PngDecode& decode)
{
    const ChannelOrder order = channelOrder(decode.request.format);
    QImage& image = decode.result.image;
    const int width = int(png_get_image_width(png, info));
    const int height = int(png_get_image_height(png, info));
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            if (decode.request.stop.stop_requested())
                return false;
            uchar* row = decode.reducer ? decode.row.data() : image.scanLine(y);
            png_read_row(png, row, nullptr);
            if (passes > 1)
                continue;
            if (premultiply)
                premultiplyRow(row, width, order);
            if (decode.reducer)
                decode.reducer->add(row);
        }
    }
    if (passes > 1 && premultiply)
        for (int y = 0; y < height; ++y)
            premultiplyRow(image.scanLine(y), width, order);
    return true;
}

// Only the chunks that make the pixels are read: every other one (text,
// colour profiles, time...) is passed over without being held in memory, so
// that a chunk declaring a gigabyte costs nothing but the bytes the file
// really has. Those that are read stay small: a palette, transparency and
// the header. Anything else still read is capped as a last resort.
void limitChunks(png_structp png)
{
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(png, png_alloc_size_t(8) << 20);
    png_set_chunk_cache_max(png, 128);
}

// Nothing with a destructor lives in this frame: errors leave it by longjmp.
bool decodeInto(PngDecode& decode)
{
    png_structp png = png_create_read_struct(
        PNG_LIBPNG_VER_STRING, nullptr, [](png_structp failed, png_const_charp) { png_longjmp(failed, 1); },
        [](png_structp, png_const_charp) {}); // warnings are not ours to show
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &decode, readBytes);
    limitChunks(png);
    // Every chunk's CRC already guards the data; zlib's second checksum over
    // the inflated pixels costs a few percent of a big picture's decode.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);
    bool decoded = false;
    if (prepare(png, info, decode) > 0) {
        const bool premultiply = !opaque(png, info);
        convertToFourChannels(png, channelOrder(decode.request.format));
        const int passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
        decoded = readRows(png, info, passes, premultiply, decode);
    }
    // The chunks after the pixels (text, time) are not read: their damage
    // must not cost a complete picture.
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded;
}

}

PictureRead decodePng(QIODevice& file, qint64 fileSize, const DecodeRequest& request)
{
    PngDecode decode{file, fileSize, request, {}, {}, {}};
    if (!decodeInto(decode))
        return {PictureRead::Undecodable, 0, {}, {}};
    decode.result.status = PictureRead::Loaded;
    return std::move(decode.result);
}

}
