#include "view3d/scene.h"
#include <utility>

namespace view3d {

Node::~Node() = default;

void Node::adopt(std::unique_ptr<Node> child)
{
    child->parent_ = this;
    children_.push_back(std::move(child));
    changed();
}

void Node::setPosition(Vec3 p)
{
    position_ = p;
    changed();
}

void Node::setRotation(Vec3 r)
{
    rotation_ = r;
    changed();
}

void Node::setScale(Vec3 s)
{
    scale_ = s;
    changed();
}

// The angles apply about X first, then Y, then Z.
QMatrix4x4 Node::localMatrix() const
{
    QMatrix4x4 m;
    m.translate(position_.x, position_.y, position_.z);
    m.rotate(rotation_.z, 0, 0, 1);
    m.rotate(rotation_.y, 0, 1, 0);
    m.rotate(rotation_.x, 1, 0, 0);
    m.scale(scale_.x, scale_.y, scale_.z);
    return m;
}

QMatrix4x4 Node::worldMatrix() const
{
    return parent_ ? parent_->worldMatrix() * localMatrix() : localMatrix();
}

void Node::changed()
{
    Node* root = this;
    while (root->parent_)
        root = root->parent_;
    if (root->onChanged)
        root->onChanged();
}

void PicturePlane::setWidth(float w)
{
    width_ = w;
    changed();
}

void PicturePlane::setHeight(float h)
{
    height_ = h;
    changed();
}

void PicturePlane::setPicture(image::MipPicture picture, QSize realSize)
{
    pending_ = std::move(picture);
    realSize_ = realSize.isEmpty() ? pending_.size() : realSize;
    pendingInset_ = image::MipPicture();
    insetPart_ = QRectF();
    changed();
}

void PicturePlane::setInset(image::MipPicture inset, QRectF part)
{
    pendingInset_ = std::move(inset);
    insetPart_ = part;
    changed();
}

image::MipPicture PicturePlane::takePendingInset()
{
    return std::exchange(pendingInset_, image::MipPicture());
}

image::MipPicture PicturePlane::takePendingPicture()
{
    return std::exchange(pending_, image::MipPicture());
}

}
