#include "carousel/decode_job.h"
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>

PreparedPicture preparePicture(toolkit::PictureFile file, int maxSide, std::stop_token stop)
{
    if (stop.stop_requested())
        return {}; // dropped before it started: nobody reads it
    toolkit::PictureRead read = toolkit::decodePicture(std::move(file), maxSide, toolkit::pictureFormat, stop);
    if (read.status != toolkit::PictureRead::Loaded)
        return {};
    return {toolkit::MipPicture(std::move(read.image)), read.realSize};
}

bool sameDecode(const PictureSource& decoded, QSize realSize, const PictureSource& candidate)
{
    if (!(decoded.identity == candidate.identity))
        return false;
    const int longest = std::max(realSize.width(), realSize.height());
    return decoded.maxSide == candidate.maxSide
        || (!realSize.isEmpty() && std::min(decoded.maxSide, candidate.maxSide) >= longest);
}

// Our own threads, so that Qt's use of its global pool never waits on ours.
static QThreadPool& threads(DecodeJob::Lane lane)
{
    struct Lanes {
        QThreadPool load, ahead;
        Lanes() { ahead.setMaxThreadCount(1); }
    };
    static Lanes lanes;
    return lane == DecodeJob::Load ? lanes.load : lanes.ahead;
}

DecodeJob::DecodeJob(toolkit::PictureFile file, int maxSide, Lane lane)
    : source_{file.identity(), maxSide}
    , future_(QtConcurrent::run(&threads(lane),
          [file = std::move(file), maxSide, stop = stop_.get_token(), begun = begun_]() mutable {
              *begun = true;
              return preparePicture(std::move(file), maxSide, stop);
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
