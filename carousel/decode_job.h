#pragma once
// Decoding picture files for the ring off the user-interface thread.
#include "image/mip_picture.h"
#include "image/picture_reader.h"
#include <QFuture>
#include <QRectF>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <stop_token>

// How much of a picture a plane is given: neither side over maxSide (the
// device's largest texture), and reduced by the largest power of two that
// keeps its long side at least side, the most the view can show of it (0:
// full size).
struct Detail {
    int maxSide = 0;
    int side = 0;
    // The part of the picture decoded, in fractions of its size from its
    // top-left corner: all of it for a plane's picture, less for an inset.
    QRectF part = image::wholePicture;
    bool operator==(const Detail&) const = default;
};

// Whether a and b limit a picture of realSize alike: a larger texture side
// makes no difference to a picture that fits the smaller one.
bool sameSideLimit(QSize realSize, const Detail& a, const Detail& b);

// What a plane's picture was decoded from: while a file keeps this identity
// it decodes to the same picture again, at the same detail.
struct PictureSource {
    image::FileIdentity identity;
    Detail detail;
    bool operator==(const PictureSource&) const = default;
};

// Whether decoding the file of candidate gives the picture decoded from
// decoded, which declared realSize: the same file, and details that make no
// difference to a picture of that size.
bool sameDecode(const PictureSource& decoded, QSize realSize, const PictureSource& candidate);

// A picture decoded for a plane, with its mipmap levels made, so that its
// upload has only to copy it; null when the file gave no picture.
struct PreparedPicture {
    image::MipPicture picture;
    QSize realSize; // the picture's size as its file declares it
    QRectF part = image::wholePicture; // the part of the picture it holds, as Detail's
};

// Decodes an opened file for a plane, on as many threads as given.
PreparedPicture preparePicture(image::PictureFile file, Detail detail, int threads, const std::stop_token& stop = {});

// preparePicture on a loading thread. A load the user waits for has a
// thread per core; decodes made ahead share one thread, so that they never
// take more than one core, nor the memory of more than one decode at a time;
// so do decodes at finer or coarser detail for planes already shown, but
// each of those, awaited alone, decodes on two threads. All three lanes give way
// to the user-interface thread and the renderer.
class DecodeLanes;
class DecodeJob {
public:
    enum Lane { Load, Ahead, Refine };
    DecodeJob(image::PictureFile file, Detail detail, Lane lane, DecodeLanes& lanes);
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
    QFuture<PreparedPicture> future() const { return future_; }

private:
    PictureSource source_;
    std::stop_source stop_;
    std::shared_ptr<std::atomic_bool> begun_ = std::make_shared<std::atomic_bool>(false);
    QFuture<PreparedPicture> future_;
};

// The threads of the three lanes: our own, so that Qt's use of its global
// pool never waits on ours. Their owner outlives every job it hands them to;
// on its end they finish the decodes under way, so none runs on past it.
class DecodeLanes {
public:
    DecodeLanes();
    QThreadPool& threads(DecodeJob::Lane lane);

private:
    QThreadPool load_, ahead_, refine_;
};
