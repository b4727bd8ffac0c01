#include "view3d/view_detail.h"
#include "view3d/texture_detail.h"
#include "view3d/viewport3d.h"

namespace view3d {

int sideNeededIn(const Viewport3D& view, const QMatrix4x4& squareToScene)
{
    const QSize pixels = (QSizeF(view.size()) * view.devicePixelRatio()).toSize();
    return sideNeeded(view.viewProjection() * squareToScene, pixels);
}

QRectF partShownIn(const Viewport3D& view, const QMatrix4x4& squareToScene)
{
    return visiblePart(view.viewProjection() * squareToScene);
}

}
