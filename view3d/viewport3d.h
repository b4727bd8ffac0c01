#pragma once
// The 3D view: draws a scene graph through a perspective camera with OpenGL
// and picks picture planes with a ray from the camera through the pointer.
#include "view3d/scene.h"
#include "view3d/view_surface.h"
#include <QColor>
#include <QTimer>
#include <QWidget>

namespace view3d {

// The frames go to the surface the platform shows (view_surface.h), which
// takes no input: pointer, touch and drops reach the view and the widgets
// around it as over any other widget.
class Viewport3D : public QWidget, private SurfacePainter {
    Q_OBJECT
public:
    explicit Viewport3D(QWidget* parent = nullptr);
    ~Viewport3D() override;

    Node& root() { return root_; }
    void setCamera(Camera* camera);
    Camera* camera() const { return camera_; }
    void setBackground(QColor colour);

    // Perspective, 45 degree vertical field of view, near 1, far 1000,
    // aspect of the widget; maps scene coordinates to clip space.
    QMatrix4x4 viewProjection() const;
    // Where a scene point lands in widget coordinates (logical pixels).
    QPointF project(const QVector3D& scenePoint) const;
    // The nearest picture plane hit by the ray through pos, front or back.
    PicturePlane* planeAt(QPointF pos) const;
    // The largest texture side the device takes; valid once the view has
    // been shown and drawn, a common size before.
    int maxTextureSide() const { return maxTextureSide_; }

    // Called while the window is still hidden and busy otherwise (loading
    // the pictures of its first frame): makes ready what that frame needs
    // of OpenGL besides the pictures, the context, the shaders and the
    // driver's pipeline for drawing a picture, so that it costs only the
    // uploads and the draw once shown. Nothing once ready.
    void prepareFirstFrame();
    // Draws the scene and puts it on the screen before returning, instead
    // of at the next turn of the event loop. Nothing while not exposed.
    void drawNow();
    // Uploads what the next frame needs of the planes' new pictures now and
    // draws that frame at the next turn of the event loop: a big picture the
    // user waits for costs two short turns instead of one long one.
    void uploadThenDraw();
    // The scene drawn now, as the screen would show it, in device pixels
    // (with the device pixel ratio set). Null before the view was shown or
    // prepared.
    QImage grabFramebuffer();
    // Whether the last frame drew a picture with less detail than it needed,
    // its finer levels still going up in the frames that follow.
    bool uploading() const { return uploading_; }

signals:
    // A frame has reached the screen.
    void frameSwapped();
    // The view cannot draw at all (its shaders did not build); why, in a line.
    void failed(const QString& why);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Gpu;
    void initializeGL() override;
    void paintGL(QSize pixels) override;
    void frameShown() override { emit frameSwapped(); }
    void warmUp(QSize pixels) override;
    // The state every frame draws with, the framebuffer cleared; the
    // program and the square bound.
    void beginFrame(QSize pixels);
    QSize devicePixels() const;
    // Takes plane's new picture and inset and uploads what a frame that maps
    // the plane with mvp onto this many pixels needs of them; true while
    // finer levels wait.
    bool uploadFor(PicturePlane& plane, const QMatrix4x4& mvp, QSize pixels);

    Node root_;
    Camera* camera_ = nullptr;
    QColor background_ = Qt::black;
    int maxTextureSide_ = 8192;
    // The device's, told from the first frame on: the pictures of that frame
    // were asked for at the common size while the view was prepared.
    int deviceTextureSide_ = 8192;
    bool uploadWhole_ = false; // a frame read back takes every level it needs at once
    bool uploading_ = false;
    std::unique_ptr<Gpu> gpu_;
    QTimer drawAfterUpload_; // the frame after uploadThenDraw's upload
    ViewSurface& surface_;
};

}
