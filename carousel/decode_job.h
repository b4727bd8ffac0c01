#pragma once
// Decoding picture files for the ring off the user-interface thread.
#include "toolkit/mip_picture.h"
#include "toolkit/picture_reader.h"
#include <QFuture>
#include <atomic>
#include <memory>
#include <stop_token>

// What a plane's picture was decoded from: while a file keeps this identity
// it decodes to the same picture again, at the same largest side.
struct PictureSource {
    toolkit::FileIdentity identity;
    int maxSide = 0;
    bool operator==(const PictureSource&) const = default;
};

// Whether decoding the file of candidate gives the picture decoded from
// decoded, which declared realSize: the same file, and largest sides that
// make no difference, since the picture reaches neither.
bool sameDecode(const PictureSource& decoded, QSize realSize, const PictureSource& candidate);

// A picture decoded for a plane, with its mipmap levels made, so that its
// upload has only to copy it; null when the file gave no picture.
struct PreparedPicture {
    toolkit::MipPicture picture;
    QSize realSize; // the picture's size as its file declares it
};

// Decodes an opened file for a plane.
PreparedPicture preparePicture(toolkit::PictureFile file, int maxSide, std::stop_token stop = {});

// preparePicture on a loading thread. A load the user waits for has a
// thread per core; decodes made ahead share one thread, so that they never
// take more than one core, nor the memory of more than one decode at a time.
class DecodeJob {
public:
    enum Lane { Load, Ahead };
    DecodeJob(toolkit::PictureFile file, int maxSide, Lane lane);
    // A decode still running is asked to stop; its result is dropped.
    ~DecodeJob();
    DecodeJob(const DecodeJob&) = delete;
    DecodeJob& operator=(const DecodeJob&) = delete;

    const PictureSource& source() const { return source_; }
    // Whether a thread has taken the decode up, or it still waits for one.
    bool begun() const { return *begun_; }
    // Whether the decode has ended, its result ready.
    bool ended() const { return future_.isFinished(); }
    // Waits for the decode to end.
    PreparedPicture result() const;

private:
    PictureSource source_;
    std::stop_source stop_;
    std::shared_ptr<std::atomic_bool> begun_ = std::make_shared<std::atomic_bool>(false);
    QFuture<PreparedPicture> future_;
};
