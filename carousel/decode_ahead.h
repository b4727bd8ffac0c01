#pragma once
// The pictures the next step either way will load, decoded while the user
// looks at the ring. A step still opens its file itself and takes a decode
// only if the file it opened is the very one that was decoded.
#include "carousel/decode_job.h"
#include <array>
#include <memory>
#include <optional>
#include <string>

class DecodeAhead {
public:
    // Decodes on the Ahead lane of lanes.
    explicit DecodeAhead(DecodeLanes& lanes) : lanes_(lanes) {}

    // Decodes file, opened from path, as the picture of the next step in
    // direction (+1 Next, -1 Previous), unless that is decoded already;
    // drops what was decoded for that direction before.
    void prepare(int direction, const std::string& path, image::PictureFile file, Detail detail);
    // Drops what was decoded for direction.
    void drop(int direction);
    // Drops everything.
    void clear();

    // The picture decoded ahead from path if it is the one that decoding the
    // file of source gives, waiting for a decode under way; one still
    // waiting for the thread is dropped, as decoding now is sooner. What is
    // taken is no longer held; everything else stays.
    std::optional<PreparedPicture> take(const std::string& path, const PictureSource& source);

    // Whether every decode held has ended.
    bool settled() const;

private:
    struct Held {
        std::string path;
        std::unique_ptr<DecodeJob> job;
    };
    static int index(int direction) { return direction > 0 ? 0 : 1; }
    DecodeLanes& lanes_;
    std::array<Held, 2> held_;
};
