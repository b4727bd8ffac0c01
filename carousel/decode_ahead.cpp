#include "carousel/decode_ahead.h"
#include <algorithm>

void DecodeAhead::prepare(int direction, const std::string& path, image::PictureFile file, Detail detail)
{
    Held& held = held_[index(direction)];
    const PictureSource source{file.identity(), detail};
    if (held.job && held.path == path && held.job->source() == source)
        return;
    held.job.reset(); // asked to stop before the next one starts
    held = {path, std::make_unique<DecodeJob>(std::move(file), detail, DecodeJob::Ahead, lanes_)};
}

void DecodeAhead::drop(int direction)
{
    held_[index(direction)] = {};
}

void DecodeAhead::clear()
{
    held_ = {};
}

bool DecodeAhead::settled() const
{
    return std::all_of(held_.begin(), held_.end(), [](const Held& held) { return !held.job || held.job->ended(); });
}

std::optional<PreparedPicture> DecodeAhead::take(const std::string& path, const PictureSource& source)
{
    for (Held& held : held_) {
        if (!held.job || held.path != path || !(held.job->source().identity == source.identity))
            continue;
        const std::unique_ptr<DecodeJob> job = std::exchange(held, {}).job;
        if (!job->begun())
            return std::nullopt;
        PreparedPicture prepared = job->result();
        if (sameDecode(job->source(), prepared.realSize, source))
            return prepared;
    }
    return std::nullopt;
}
