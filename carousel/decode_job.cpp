#include "carousel/decode_job.h"
#include "platform/thread_priority.h"
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>

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

DecodeJob::DecodeJob(image::PictureFile file, Detail detail, Lane lane)
    : source_{file.identity(), detail}
    , future_(QtConcurrent::run(&threads(lane),
          [file = std::move(file), detail, lane, stop = stop_.get_token(), begun = begun_]() mutable {
              *begun = true;
              if (lane != Load)
                  platform::giveWayToInteraction();
              const int cores = lane == Refine ? 2 : 1;
              return preparePicture(std::move(file), detail, cores, stop);
          }))
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
