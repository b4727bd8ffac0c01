// TForm1's record of each plane's picture: a picture shown in a plane, its
// inset, and whether a decode would give the plane what it shows already.
#include "app/form1.h"
#include "carousel/fit.h"

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
        imgRecords_[slot] = {path, source, std::nullopt};
    }
    if (plane.hasPicture()) {
        const PlaneSize size = fitPlane(plane.pictureSize());
        plane.setWidth(size.width);
        plane.setHeight(size.height);
    }
}

// Decoding the file of source again would give the plane the picture it shows.
bool TForm1::showsAlready(int slot, const PictureSource& source) const
{
    const std::optional<PictureSource>& shown = imgRecords_[slot].source;
    return shown && sameDecode(*shown, imgs[slot]->pictureSize(), source);
}

// Lays a part of slot's picture, decoded finer at detail, over its plane.
void TForm1::showInset(int slot, const Detail& detail, const PreparedPicture& prepared)
{
    imgs[slot]->setInset(prepared.picture, detail.part);
    imgRecords_[slot].inset = detail;
}

// Takes slot's inset away, if it has one: the picture is enough again.
void TForm1::dropInset(int slot)
{
    if (!imgRecords_[slot].inset)
        return;
    imgRecords_[slot].inset.reset();
    imgs[slot]->setInset({}, {});
}
