// TForm1's ring of nine picture planes: building it, loading it from the list,
// and loading one picture into a plane.
#include "app/form1.h"
#include "carousel/fit.h"
#include "collection/full_path.h"
#include "platform/error_report.h"
#include "resources/form_layout.h"
#include "view3d/view_detail.h"
#include "view3d/viewport3d.h"
#include <QFile>
#include <QWheelEvent>
#include <exception>
#include <memory>
#include <system_error>

void TForm1::CreateRoundImage3D()
{
    for (int i = 0; i < ring::slotCount; ++i) {
        dummys[i] = dm_round->addChild(std::make_unique<view3d::Node>());
        dummys[i]->setRotation({0, -ring::slotAngle * float(i), 0});
        imgs[i] = dummys[i]->addChild(std::make_unique<view3d::PicturePlane>());
        imgs[i]->setPosition({0, 0, -ring::planeDistance});
        // 4 x 3 until a picture gives the plane its own aspect.
        imgs[i]->setWidth(ring::planeLongSide);
        imgs[i]->setHeight(3);
        imgs[i]->onWheel = [this](view3d::PicturePlane& plane, QWheelEvent& event) {
            const QPoint delta = event.angleDelta();
            platform::reportErrors([&] { Image3D_MouseWheel(plane, delta.y() != 0 ? delta.y() : delta.x()); });
        };
    }
    refinements_.arrived = [this](int slot, const PictureSource& source, const PreparedPicture& prepared) {
        takeRefinement(slot, source, prepared);
    };
}

// A file that exists but cannot be opened is an error the user must hear
// about, named by its full path; a missing or undecodable one only leaves its
// plane as it was.
image::PictureFile TForm1::openForLoad(const std::string& path)
{
    image::PictureFile file = image::openPicture(path);
    if (file.status() == image::PictureRead::CannotOpen)
        throw platform::Error(QString::fromUtf8(resources::form1::openError)
                                 .arg(QString::fromLocal8Bit(fullPath(path).c_str()),
                                      QString::fromStdString(std::generic_category().message(file.error()))));
    return file;
}

// The nine files open here one by one in slot order, as loading them one
// after the other would, while all cores decode them. The first that cannot
// be opened ends the opening; its error is raised once the planes before it
// show their new pictures, so the planes after it keep their old ones.
void TForm1::Image_Load_start()
{
    decodeAhead_.clear();
    imgFront = 0;
    imgNumber = 0;
    dm_round->setRotation({0, 0, 0});
    const int n = stlf->count();
    if (n == 0)
        return;
    std::array<PictureSource, ring::slotCount> sources;
    std::array<std::shared_ptr<const DecodeJob>, ring::slotCount> jobs; // none: the plane stays
    std::exception_ptr failure;
    int opened = 0;
    for (; opened < ring::slotCount; ++opened) {
        image::PictureFile file;
        try {
            file = openForLoad(stlf->at(ring::entryForSlot(opened, n)));
        } catch (const platform::Error&) {
            failure = std::current_exception();
            break;
        }
        sources[opened] = {file.identity(), detailFor(opened)};
        if (!file.opened() || showsAlready(opened, sources[opened]))
            continue;
        // With fewer than nine entries a file fills several planes: decoded once.
        for (int earlier = 0; earlier < opened && !jobs[opened]; ++earlier)
            if (jobs[earlier] && jobs[earlier]->source() == sources[opened])
                jobs[opened] = jobs[earlier];
        if (!jobs[opened])
            jobs[opened] = std::make_shared<const DecodeJob>(std::move(file), sources[opened].detail, DecodeJob::Load);
    }
    // The decodes take a while: the view gets ready to draw meanwhile.
    Viewport3D1->prepareFirstFrame();
    for (int i = 0; i < opened; ++i)
        showPicture(i, stlf->at(ring::entryForSlot(i, n)), sources[i], jobs[i] ? jobs[i]->result() : PreparedPicture{});
    nameViewAfterFront();
    if (failure)
        std::rethrow_exception(failure);
    prepareDecodeAhead(+1);
}

// Loads file, opened from path, into slot's plane: from its decode made
// ahead if that is of this very file, not at all if the plane shows it
// already.
void TForm1::loadOpened(int slot, const std::string& path, image::PictureFile file)
{
    const PictureSource source{file.identity(), detailFor(slot)};
    if (!file.opened() || showsAlready(slot, source)) {
        showPicture(slot, path, source, {});
        return;
    }
    // Without a decode made ahead the user waits for this one: two threads.
    const std::optional<PreparedPicture> ahead = decodeAhead_.take(path, source);
    showPicture(slot, path, source, ahead ? *ahead : preparePicture(std::move(file), source.detail, 2));
}

// Puts a picture decoded from path into slot's plane, in place of any
// decode at another detail for the picture it showed; anything else leaves
// the plane as it was. Either way the plane is fitted to what it shows.
void TForm1::showPicture(int slot, const std::string& path, const PictureSource& source,
                         const PreparedPicture& prepared)
{
    view3d::PicturePlane& plane = *imgs[slot];
    if (!prepared.picture.isNull()) {
        refinements_.drop(slot);
        plane.setPicture(prepared.picture, prepared.realSize); // and drops its inset
        imgInsets_[slot].reset();
        imgSources_[slot] = source;
        imgPaths_[slot] = path;
    }
    if (plane.hasPicture()) {
        const PlaneSize size = fitPlane(plane.pictureSize());
        plane.setWidth(size.width);
        plane.setHeight(size.height);
    }
}

// The 3D view tells a screen reader the name of the file that faces the viewer.
void TForm1::nameViewAfterFront()
{
    const std::string& path = stlf->at(imgNumber);
    Viewport3D1->setAccessibleName(QFile::decodeName(QByteArray::fromStdString(path.substr(path.rfind('/') + 1))));
}

// Decoding the file of source again would give the plane the picture it shows.
bool TForm1::showsAlready(int slot, const PictureSource& source) const
{
    return imgSources_[slot] && sameDecode(*imgSources_[slot], imgs[slot]->pictureSize(), source);
}

// After a load and after each step: decodes what the next step either way
// will load, unless its plane shows that very picture already; first the
// way the user went last, who is likely to go on. A step can end while a
// drop has emptied the list to fill it anew: nothing to decode then.
void TForm1::prepareDecodeAhead(int first)
{
    const int n = stlf->count();
    if (n == 0)
        return;
    for (const int direction : {first, -first}) {
        const ring::StepLoad load = ring::stepLoad(imgFront, imgNumber, direction, n);
        const std::string& path = stlf->at(load.entry);
        image::PictureFile file = image::openPicture(path);
        const PictureSource source{file.identity(), detailFor(load.slot)};
        if (file.opened() && !showsAlready(load.slot, source))
            decodeAhead_.prepare(direction, path, std::move(file), source.detail);
        else
            decodeAhead_.drop(direction);
    }
}

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

// Takes slot's inset away, if it has one: the picture is enough again.
void TForm1::dropInset(int slot)
{
    if (!imgInsets_[slot])
        return;
    imgInsets_[slot].reset();
    imgs[slot]->setInset({}, {});
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
        if (!imgSources_[slot])
            continue;
        const QSize size = imgs[slot]->pictureSize();
        const Detail& held = imgSources_[slot]->detail;
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
        if (finer && imgInsets_[slot] && serves(*imgInsets_[slot])) {
            refinements_.drop(slot);
            continue;
        }
        if (const Detail* pending = refinements_.pending(slot); pending && serves(*pending))
            continue;
        needed.part = part;
        image::PictureFile file = image::openPicture(imgPaths_[slot]);
        if (file.opened() && file.identity() == imgSources_[slot]->identity)
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
    if (prepared.part == image::wholePicture) {
        showPicture(slot, imgPaths_[slot], decoded, prepared);
    } else {
        imgs[slot]->setInset(prepared.picture, prepared.part);
        imgInsets_[slot] = decoded.detail;
    }
    Viewport3D1->uploadThenDraw();
}
