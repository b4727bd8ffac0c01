#pragma once
// Planes' pictures decoded again at the detail the view now needs (finer
// after a zoom, a larger window or a camera move; coarser again after),
// off the user-interface thread, while the planes keep showing what they
// hold.
#include "carousel/decode_job.h"
#include <QObject>
#include <QSize>
#include <functional>
#include <map>
#include <memory>

// Whether a picture of realSize, decoded at held, is worth decoding again
// at needed: when it needs a finer reduction than it has, or when it holds
// two levels or more beyond the need.
bool worthRedecoding(QSize realSize, const Detail& held, const Detail& needed);

class PlaneRefinement : public QObject {
    Q_OBJECT
public:
    // Called on this object's thread with each decode that ends before it
    // is dropped: the plane's key, what was decoded, and the picture (null
    // when the file no longer gave one).
    std::function<void(int plane, const PictureSource& source, const PreparedPicture& picture)> arrived;

    // Decodes file, opened for plane, at detail, in place of any decode
    // under way for plane, unless that one is at the same detail already.
    void request(int plane, toolkit::PictureFile file, Detail detail);
    // The detail a decode under way for plane decodes at, if any.
    const Detail* pending(int plane) const;
    // Drops the decode for plane: it will not arrive.
    void drop(int plane);
    void clear();
    // Whether no decode is under way.
    bool settled() const { return jobs_.empty(); }

private:
    struct Held {
        std::unique_ptr<DecodeJob> job;
        quint64 serial; // tells a decode from an earlier one for the plane
    };
    std::map<int, Held> jobs_;
    quint64 serial_ = 0;
};
