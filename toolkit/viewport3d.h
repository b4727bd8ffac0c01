#pragma once
// The 3D view: draws a scene graph through a perspective camera with OpenGL
// and picks picture planes with a ray from the camera through the pointer.
#include "toolkit/scene.h"
#include <QColor>
#include <QOpenGLWidget>

namespace toolkit {

class Viewport3D : public QOpenGLWidget {
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
    // been shown (initializeGL), a common size before.
    int maxTextureSide() const { return maxTextureSide_; }

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Gpu;
    Node root_;
    Camera* camera_ = nullptr;
    QColor background_ = Qt::black;
    int maxTextureSide_ = 8192;
    std::unique_ptr<Gpu> gpu_;
};

}
