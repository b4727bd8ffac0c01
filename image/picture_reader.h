#pragma once
// Reads a picture file into a premultiplied 32-bit image. The format comes
// from the content, never the name; only the first frame is used.
#include "image/decode_request.h"
#include "image/file_open.h"
#include "image/picture_read.h"
#include <QImage>
#include <QRectF>
#include <QSize>
#include <stop_token>
#include <string>

namespace image {

// A picture file opened for decoding. Opening decides Missing and
// CannotOpen, and must happen on the thread whose file permissions apply;
// decoding may then happen on any thread. Owns its descriptor.
class PictureFile {
public:
    PictureFile() = default;
    PictureFile(PictureFile&& other) noexcept;
    PictureFile& operator=(PictureFile&& other) noexcept;
    ~PictureFile();

    PictureRead::Status status() const { return status_; } // Loaded: opened
    int error() const { return error_; }
    const FileIdentity& identity() const { return identity_; }
    bool opened() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }

private:
    friend PictureFile openPicture(const std::string& path);
    PictureRead::Status status_ = PictureRead::Missing;
    int error_ = 0;
    FileIdentity identity_;
    int fd_ = -1;
};

// path is the file name's native bytes.
PictureFile openPicture(const std::string& path);

// The most pixels a picture may be decoded to: 16384 x 16384, 1 GiB at four
// bytes a pixel. Larger pictures are decoded scaled down by the formats that
// can (JPEG, non-interlaced PNG); the others are refused.
inline constexpr qint64 pictureBudget = qint64(16384) * 16384;

// Lets Qt's decoders, used for what our own readers do not cover, allocate
// a picture of pictureBudget (by default Qt stops at 128 MB). The limit is
// process-wide: call this once at start-up, before any decoding thread runs.
void setDecoderAllocationLimit();

// Decodes an opened file (passing on Missing and CannotOpen) as request
// asks: reduced to its detail (JPEG and PNG while decoding, the rest on the
// decoding thread, without keeping the full size), then scaled down
// (keeping its aspect) so that neither side exceeds maxSide and it stays
// within pixelBudget. Of that, only the request's part is kept; JPEG
// decodes little more than that part. JPEG, PNG and BMP decode straight
// into either format. A stop request abandons their decode early as
// Undecodable. A file whose header promises more pixels than its data can
// hold is Undecodable, refused before the pixels are allocated.
PictureRead decodePicture(PictureFile file, const DecodeRequest& request);

// Opens and decodes path in one go, to Format_ARGB32_Premultiplied.
PictureRead readPicture(const std::string& path, int maxSide);
PictureRead readPicture(const std::string& path, int maxSide, qint64 pixelBudget);

}
