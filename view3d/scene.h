#pragma once
// A small scene graph for the 3D view. Coordinates use the viewer's frame:
// +X right, +Y down the screen, +Z away from the viewer, angles in degrees,
// right-hand rotations. Only the camera code knows OpenGL's frame.
#include "image/mip_picture.h"
#include <QMatrix4x4>
#include <QRectF>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

class QWheelEvent;

namespace view3d {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

class Node {
public:
    Node() = default;
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Attaches child as the last child of this node and returns it.
    template <class T> T* addChild(std::unique_ptr<T> child)
    {
        T* raw = child.get();
        adopt(std::move(child));
        return raw;
    }
    Node* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Node>>& children() const { return children_; }

    Vec3 position() const { return position_; }
    Vec3 rotation() const { return rotation_; }
    Vec3 scale() const { return scale_; }
    void setPosition(Vec3 p);
    void setRotation(Vec3 r);
    void setScale(Vec3 s);

    // Scale about the origin, then rotate, then translate.
    QMatrix4x4 localMatrix() const;
    // The local matrices of all ancestors applied outside this node's own.
    QMatrix4x4 worldMatrix() const;

    // Called whenever something that changes the picture happens in this
    // subtree; the view sets it on its root to schedule a repaint.
    std::function<void()> onChanged;

protected:
    void changed();

private:
    void adopt(std::unique_ptr<Node> child);
    Node* parent_ = nullptr;
    std::vector<std::unique_ptr<Node>> children_;
    Vec3 position_;
    Vec3 rotation_;
    Vec3 scale_{1, 1, 1};
};

// Looks along its own +Z with its -Y as screen-up.
class Camera : public Node {};

// Lights nothing: picture planes are unlit. Kept so the scene is complete.
class Light : public Node {};

// A two-sided, unlit, textured rectangle of width x height centred on its
// origin in its local XY plane. Its front is the local -Z side; the picture's
// top-left corner sits at (-width/2, -height/2). Without a picture it is white.
class PicturePlane : public Node {
public:
    float width() const { return width_; }
    float height() const { return height_; }
    void setWidth(float w);
    void setHeight(float h);

    // Takes a picture with its levels. realSize is the size of the picture
    // as stored in its file, which may exceed the picture's size when it had
    // to be scaled down for the device; an empty realSize means the picture's.
    void setPicture(image::MipPicture picture, QSize realSize = {});
    bool hasPicture() const { return !realSize_.isEmpty(); }
    QSize pictureSize() const { return realSize_; }

    // The view takes the pending picture to upload it; the plane then keeps
    // only its size.
    image::MipPicture takePendingPicture();

    // A part of the picture decoded finer than the picture, drawn over it:
    // part is where it lies, in fractions of the picture's size from its
    // top-left corner. An empty part takes it away, and so does a new
    // picture. The view takes the pending inset as it takes the picture.
    void setInset(image::MipPicture inset, QRectF part);
    QRectF insetPart() const { return insetPart_; }
    image::MipPicture takePendingInset();

    // Called by the view for a wheel event whose ray hits this plane first.
    std::function<void(PicturePlane& plane, QWheelEvent& event)> onWheel;

private:
    float width_ = 1;
    float height_ = 1;
    image::MipPicture pending_;
    QSize realSize_;
    image::MipPicture pendingInset_;
    QRectF insetPart_;
};

}
