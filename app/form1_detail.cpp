// TForm1's detail policy: how much of a picture each plane needs, as the
// camera sees it at the front, so that pictures are decoded at that reduced
// detail; and refinement, a plane's picture decoded again, or only the part
// the view shows as an inset, when a zoom, the camera or a resize needs more
// or much less.
#include "app/form1.h"
#include "view3d/view_detail.h"
#include "view3d/viewport3d.h"

// Where slot's plane shows the most of its picture: at the front of the
// ring (the ring's node and the slot's only turn it there), at its zoom and
// roll; the unit square scaled by width and height lands on it.
QMatrix4x4 TForm1::atFront(int slot, float width, float height) const
{
    QMatrix4x4 front = dm_round->parent()->worldMatrix() * imgs[slot]->localMatrix();
    front.scale(width, height);
    return front;
}

// The detail slot's plane needs at the front, as the camera sees it now.
// Its aspect is not known before its file is read: a square of its long
// side stands for it.
Detail TForm1::detailFor(int slot) const
{
    const QMatrix4x4 front = atFront(slot, ring::planeLongSide, ring::planeLongSide);
    return {Viewport3D1->maxTextureSide(), view3d::sideNeededIn(*Viewport3D1, front)};
}

// The part of slot's plane the camera sees where detailFor measures it.
QRectF TForm1::partShown(int slot) const
{
    return view3d::partShownIn(*Viewport3D1, atFront(slot, imgs[slot]->width(), imgs[slot]->height()));
}

// After a zoom, a camera move, a resize and a step's end: each plane whose
// picture holds much more or less detail than the view now needs has it
// decoded again, from its file only if that is still the very one. Where
// the view shows only a part of a plane finer than its picture, only that
// part is decoded finer, as an inset over the plane; when the picture is
// enough again, the inset goes.
void TForm1::refineWhereNeeded()
{
    for (int slot = 0; slot < ring::slotCount; ++slot) {
        const PlaneRecord& record = imgRecords_[slot];
        if (!record.source)
            continue;
        const QSize size = imgs[slot]->pictureSize();
        const Detail& held = record.source->detail;
        Detail needed = detailFor(slot);
        needed.part = partShown(slot);
        if (fits(size, held, needed)) {
            refinements_.drop(slot);
            dropInset(slot);
            continue;
        }
        // Zoomed in, the finer part shown; a decode of much more than that
        // (made at a lesser zoom) gives way to it.
        const bool finer = finerThan(size, held, needed);
        const QRectF part = finer ? insetPart(needed.part) : image::wholePicture;
        const auto serves = [&](const Detail& decoded) {
            return fits(size, decoded, needed) && littleMore(decoded.part, part);
        };
        if (finer && record.inset && serves(*record.inset)) {
            refinements_.drop(slot);
            continue;
        }
        if (const Detail* pending = refinements_.pending(slot); pending && serves(*pending))
            continue;
        needed.part = part;
        image::PictureFile file = image::openPicture(record.path);
        if (file.opened() && file.identity() == record.source->identity)
            refinements_.request(slot, std::move(file), needed);
    }
}

// A picture decoded again for slot's plane replaces the one it shows, or
// lies over it as its inset, if the file still gave that picture; on screen
// as soon as it is up: the user has waited for it since the zoom or the
// camera move.
void TForm1::takeRefinement(int slot, const PictureSource& source, const PreparedPicture& prepared)
{
    if (prepared.picture.isNull() || prepared.realSize != imgs[slot]->pictureSize())
        return;
    PictureSource decoded = source;
    decoded.detail.part = prepared.part;
    if (prepared.part == image::wholePicture)
        showPicture(slot, imgRecords_[slot].path, decoded, prepared);
    else
        showInset(slot, decoded.detail, prepared);
    Viewport3D1->uploadThenDraw();
}
