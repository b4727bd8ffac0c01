#include "carousel/plane_refinement.h"
#include "toolkit/decode_request.h"

bool worthRedecoding(QSize realSize, const Detail& held, const Detail& needed)
{
    const int has = toolkit::detailReduction(realSize, held.side);
    const int wants = toolkit::detailReduction(realSize, needed.side);
    return wants < has || wants >= 4 * has || held.maxSide != needed.maxSide;
}

void PlaneRefinement::request(int plane, toolkit::PictureFile file, Detail detail)
{
    if (const Detail* under = pending(plane); under && *under == detail)
        return;
    drop(plane); // asked to stop before the next one starts
    auto job = std::make_unique<DecodeJob>(std::move(file), detail, DecodeJob::Refine);
    const quint64 serial = ++serial_;
    job->future().then(this, [this, plane, serial](const PreparedPicture& picture) {
        const auto held = jobs_.find(plane);
        if (held == jobs_.end() || held->second.serial != serial)
            return; // dropped, or replaced by a later request
        const PictureSource source = held->second.job->source();
        jobs_.erase(held);
        if (arrived)
            arrived(plane, source, picture);
    });
    jobs_[plane] = {std::move(job), serial};
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
