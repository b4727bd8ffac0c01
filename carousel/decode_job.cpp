#include "carousel/decode_job.h"
#include "platform/thread_priority.h"
#include <QPromise>
#include <QRunnable>
#include <QThreadPool>
#include <algorithm>
#include <exception>

PreparedPicture preparePicture(image::PictureFile file, Detail detail, int threads, const std::stop_token& stop)
{
    if (stop.stop_requested())
        return {}; // dropped before it started: nobody reads it
    image::PictureRead read = image::decodePicture(
        std::move(file),
        {detail.maxSide, image::pictureBudget, image::pictureFormat, stop, detail.side, threads, detail.part});
    if (read.status != image::PictureRead::Loaded)
        return {};
    return {image::MipPicture(std::move(read.image), threads), read.realSize, read.part};
}

bool sameDecode(const PictureSource& decoded, QSize realSize, const PictureSource& candidate)
{
    if (!(decoded.identity == candidate.identity))
        return false;
    if (realSize.isEmpty())
        return decoded.detail == candidate.detail;
    const Detail& a = decoded.detail;
    const Detail& b = candidate.detail;
    return a.part == b.part && sameSideLimit(realSize, a, b)
        && image::detailReduction(realSize, a.side) == image::detailReduction(realSize, b.side);
}

bool sameSideLimit(QSize realSize, const Detail& a, const Detail& b)
{
    return a.maxSide == b.maxSide || std::min(a.maxSide, b.maxSide) >= std::max(realSize.width(), realSize.height());
}

// Our own threads, so that Qt's use of its global pool never waits on ours.
static QThreadPool& threads(DecodeJob::Lane lane)
{
    struct Lanes {
        QThreadPool load, ahead, refine;
        Lanes()
        {
            ahead.setMaxThreadCount(1);
            refine.setMaxThreadCount(1);
        }
    };
    static Lanes lanes;
    switch (lane) {
    case DecodeJob::Load:
        return lanes.load;
    case DecodeJob::Ahead:
        return lanes.ahead;
    case DecodeJob::Refine:
        break;
    }
    return lanes.refine;
}

namespace {

// A decode run by a pool's thread: its result, or what it threw, goes to its
// future. The pool deletes it once run.
class DecodeTask : public QRunnable {
public:
    DecodeTask(image::PictureFile file, Detail detail, DecodeJob::Lane lane, std::stop_token stop,
               std::shared_ptr<std::atomic_bool> begun)
        : file_(std::move(file)), detail_(detail), lane_(lane), stop_(std::move(stop)), begun_(std::move(begun))
    {
        promise_.start();
    }

    QFuture<PreparedPicture> future() { return promise_.future(); }

    void run() override
    {
        *begun_ = true;
        try {
            if (lane_ != DecodeJob::Load)
                platform::giveWayToInteraction();
            const int cores = lane_ == DecodeJob::Refine ? 2 : 1;
            promise_.addResult(preparePicture(std::move(file_), detail_, cores, stop_));
        } catch (...) {
            promise_.setException(std::current_exception());
        }
        promise_.finish();
    }

private:
    image::PictureFile file_;
    Detail detail_;
    DecodeJob::Lane lane_;
    std::stop_token stop_;
    std::shared_ptr<std::atomic_bool> begun_;
    QPromise<PreparedPicture> promise_;
};

}

static QFuture<PreparedPicture> startDecode(image::PictureFile file, Detail detail, DecodeJob::Lane lane,
                                            std::stop_token stop, std::shared_ptr<std::atomic_bool> begun)
{
    auto task = std::make_unique<DecodeTask>(std::move(file), detail, lane, std::move(stop), std::move(begun));
    QFuture<PreparedPicture> future = task->future();
    threads(lane).start(task.release());
    return future;
}

DecodeJob::DecodeJob(image::PictureFile file, Detail detail, Lane lane)
    : source_{file.identity(), detail}
    , future_(startDecode(std::move(file), detail, lane, stop_.get_token(), begun_))
{
}

DecodeJob::~DecodeJob()
{
    stop_.request_stop();
}

PreparedPicture DecodeJob::result() const
{
    return future_.result();
}
