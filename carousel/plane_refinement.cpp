#include "carousel/plane_refinement.h"
#include "image/decode_request.h"

bool fits(QSize realSize, const Detail& held, const Detail& needed)
{
    const int has = image::detailReduction(realSize, held.side);
    const int wants = image::detailReduction(realSize, needed.side);
    return has <= wants && wants < 4 * has && sameSideLimit(realSize, held, needed) && held.part.contains(needed.part);
}

bool finerThan(QSize realSize, const Detail& held, const Detail& needed)
{
    return image::detailReduction(realSize, needed.side) < image::detailReduction(realSize, held.side)
        && sameSideLimit(realSize, held, needed);
}

bool littleMore(const QRectF& held, const QRectF& wanted)
{
    return held.width() * held.height() <= 2 * wanted.width() * wanted.height();
}

QRectF insetPart(const QRectF& shown)
{
    // A margin, so that a small camera move still finds the part decoded.
    const double dx = shown.width() / 16, dy = shown.height() / 16;
    const QRectF part = shown.adjusted(-dx, -dy, dx, dy) & image::wholePicture;
    // Decoding most of a picture costs about as much as the whole.
    return part.width() * part.height() >= 0.75 ? image::wholePicture : part;
}

PlaneRefinement::~PlaneRefinement()
{
    clear();
}

void PlaneRefinement::request(int plane, image::PictureFile file, Detail detail)
{
    if (const Detail* under = pending(plane); under && *under == detail)
        return;
    drop(plane); // asked to stop before the next one starts
    auto job = std::make_unique<DecodeJob>(std::move(file), detail, DecodeJob::Refine, lanes_);
    auto watcher = std::make_unique<QFutureWatcher<PreparedPicture>>();
    // A replaced or dropped decode takes its watcher with it: what finishes
    // here is the decode plane holds now.
    connect(watcher.get(), &QFutureWatcherBase::finished, this, [this, plane] {
        const auto found = jobs_.find(plane);
        if (found == jobs_.end()) // dropped meanwhile: its watcher went with it
            return;
        Held held = std::move(found->second);
        jobs_.erase(found);
        held.watcher.release()->deleteLater(); // it is still reporting
        const PreparedPicture picture = held.job->result();
        if (arrived)
            arrived(plane, held.job->source(), picture);
    });
    watcher->setFuture(job->future());
    jobs_[plane] = {std::move(job), std::move(watcher)};
}

const Detail* PlaneRefinement::pending(int plane) const
{
    const auto held = jobs_.find(plane);
    return held == jobs_.end() ? nullptr : &held->second.job->source().detail;
}

void PlaneRefinement::drop(int plane)
{
    jobs_.erase(plane);
}

void PlaneRefinement::clear()
{
    jobs_.clear();
}
