#include "toolkit/view_detail.h"
#include "toolkit/texture_detail.h"
#include "toolkit/viewport3d.h"

namespace toolkit {

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
