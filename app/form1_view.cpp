// TForm1's view adjustments: wheel zoom of one plane, roll of the front plane
// by the dial, and the camera moved by the two scroll bars.
#include "app/form1.h"
#include "widgets/arc_dial.h"
#include "widgets/scroll_bar.h"
#include <cmath>

// One event is one factor of 1.1, whatever its size; the plane never gets
// smaller than its fit nor larger than four times it.
void TForm1::Image3D_MouseWheel(view3d::PicturePlane& plane, int wheelDelta)
{
    float s = plane.scale().x;
    s = wheelDelta < 0 ? s / ring::zoomFactor : s * ring::zoomFactor;
    if (!(s >= 1.0f))
        s = 1.0f;
    if (s > ring::maxZoom)
        s = ring::maxZoom;
    plane.setScale({s, s, s});
    refineWhereNeeded();
}

void TForm1::ArcDial1Change()
{
    if (imgCreateFlag) {
        imgs[imgFront]->setRotation({0, 0, float(-ArcDial1->value())});
        return;
    }
    ArcDial1->setValue(0);
}

void TForm1::SB_HChange()
{
    const view3d::Vec3 p = Camera1->position();
    Camera1->setPosition({float(SB_H->value() / 10.0), p.y, p.z});
    refineWhereNeeded();
}

// The camera rises or sinks and tilts so that it keeps looking at the height
// of the ring's centre.
void TForm1::SB_VChange()
{
    const view3d::Vec3 p = Camera1->position();
    const float y = float(SB_V->value() / 10.0);
    Camera1->setPosition({p.x, y, p.z});
    const view3d::Vec3 r = Camera1->rotation();
    Camera1->setRotation({float(-std::atan(y / p.z) * 180.0 / 3.14159265), r.y, r.z});
    refineWhereNeeded();
}
