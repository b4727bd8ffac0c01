#pragma once
// Planes' pictures decoded again at the detail the view now needs (finer
// after a zoom, a larger window or a camera move; coarser again after),
// off the user-interface thread, while the planes keep showing what they
// hold.
#include "carousel/decode_job.h"
#include <QFutureWatcher>
#include <QObject>
#include <QSize>
#include <functional>
#include <map>
#include <memory>

// Whether a picture of realSize, decoded at held, shows what a frame that
// needs needed can show: at least as fine a reduction, less than two levels
// beyond it, the same limit of the largest texture side, and the part the
// frame shows.
bool fits(QSize realSize, const Detail& held, const Detail& needed);
// Whether needed asks for a finer reduction than held under the same limit:
// a zoom or a camera move came closer.
bool finerThan(QSize realSize, const Detail& held, const Detail& needed);
// Whether a decoded part held is at most twice the size of the part wanted:
// worth keeping rather than decoding the smaller part.
bool littleMore(const QRectF& held, const QRectF& wanted);
// The part of a picture to decode finer for a frame that shows the part
// shown of it: that part and a margin, or the whole picture when that is
// most of it.
QRectF insetPart(const QRectF& shown);

class PlaneRefinement : public QObject {
    Q_OBJECT
public:
    // Decodes on the Refine lane of lanes.
    explicit PlaneRefinement(DecodeLanes& lanes) : lanes_(lanes) {}
    // Decodes under way are dropped before the object is gone.
    ~PlaneRefinement() override;
    PlaneRefinement(const PlaneRefinement&) = delete;
    PlaneRefinement& operator=(const PlaneRefinement&) = delete;

    // Called on this object's thread with each decode that ends before it
    // is dropped: the plane's key, what was decoded, and the picture (null
    // when the file no longer gave one).
    std::function<void(int plane, const PictureSource& source, const PreparedPicture& picture)> arrived;

    // Decodes file, opened for plane, at detail, in place of any decode
    // under way for plane, unless that one is at the same detail already.
    void request(int plane, image::PictureFile file, Detail detail);
    // The detail a decode under way for plane decodes at, if any.
    const Detail* pending(int plane) const;
    // Drops the decode for plane: it will not arrive.
    void drop(int plane);
    void clear();
    // Whether no decode is under way.
    bool settled() const { return jobs_.empty(); }

private:
    // The watcher reports the decode's end on this object's thread; it goes
    // before the job, so nothing is reported of a dropped decode.
    struct Held {
        std::unique_ptr<DecodeJob> job;
        std::unique_ptr<QFutureWatcher<PreparedPicture>> watcher;
    };
    DecodeLanes& lanes_;
    std::map<int, Held> jobs_;
};
