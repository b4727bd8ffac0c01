// TForm1's ring of nine picture planes: building it, loading it from the list,
// and loading one picture into a plane.
#include "app/form1.h"
#include "carousel/fit.h"
#include "carousel/slots.h"
#include "resources/form_layout.h"
#include "toolkit/error_report.h"
#include "toolkit/picture_reader.h"
#include "toolkit/viewport3d.h"
#include <QWheelEvent>
#include <cstring>

void TForm1::CreateRoundImage3D()
{
    for (int i = 0; i < 9; ++i) {
        dummys[i] = dm_round->addChild(std::make_unique<toolkit::Node>());
        dummys[i]->setRotation({0, -40.0f * i, 0});
        imgs[i] = dummys[i]->addChild(std::make_unique<toolkit::PicturePlane>());
        imgs[i]->setPosition({0, 0, -7});
        imgs[i]->setWidth(4);
        imgs[i]->setHeight(3);
        imgs[i]->onWheel = [this](toolkit::PicturePlane& plane, QWheelEvent& event) {
            const QPoint delta = event.angleDelta();
            toolkit::reportErrors([&] { Image3D_MouseWheel(plane, delta.y() != 0 ? delta.y() : delta.x()); });
        };
    }
}

void TForm1::Image_Load_start()
{
    imgFront = 0;
    imgNumber = 0;
    dm_round->setRotation({0, 0, 0});
    const int n = stlf->count();
    if (n == 0)
        return;
    for (int i = 0; i < 9; ++i)
        loadAndFit(*imgs[i], stlf->at(entryForSlot(i, n)));
}

// A missing or undecodable file leaves the plane as it was; a file that
// exists but cannot be opened is an error the user must hear about.
void TForm1::loadAndFit(toolkit::PicturePlane& plane, const std::string& path)
{
    toolkit::PictureRead read = toolkit::readPicture(path, Viewport3D1->maxTextureSide());
    if (read.status == toolkit::PictureRead::CannotOpen)
        throw toolkit::Error(QString::fromUtf8(resources::form1::openError)
                                 .arg(QString::fromLocal8Bit(path.c_str()),
                                      QString::fromLocal8Bit(std::strerror(read.error))));
    if (read.status == toolkit::PictureRead::Loaded)
        plane.setPicture(std::move(read.image), read.realSize);
    if (plane.hasPicture()) {
        const PlaneSize size = fitPlane(plane.pictureSize());
        plane.setWidth(size.width);
        plane.setHeight(size.height);
    }
}
