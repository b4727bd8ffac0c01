#include "view3d/viewport3d.h"
#include "view3d/picture_texture.h"
#include "view3d/ray_pick.h"
#include "view3d/shader_program.h"
#include "view3d/texture_detail.h"
#include <QOpenGLBuffer>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QWheelEvent>
#include <iterator>
#include <limits>
#include <unordered_map>
#include <utility>

namespace view3d {

// GLSL 1.10 / ES 2.0: runs on any context from OpenGL 2.0 up. A plane is the
// unit square stretched to its rectangle; its corner (-0.5, -0.5) is the
// picture's top-left, and texture rows run top-down like the picture's.
static const char* vertexShader = R"(
attribute vec2 corner;
uniform mat4 mvp;
varying vec2 uv;
void main()
{
    uv = corner + vec2(0.5);
    gl_Position = mvp * vec4(corner, 0.0, 1.0);
}
)";

static const char* fragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
uniform sampler2D picture;
varying vec2 uv;
void main()
{
    gl_FragColor = texture2D(picture, uv);
}
)";

static const GLfloat unitSquare[] = {-0.5f, -0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f};

// A plane's texture holds its picture's mipmap levels from the finest one a
// frame has needed so far down to 1 x 1; the picture waits in its upload
// until its full size has gone up. A ring seen whole shows its pictures at
// a small fraction of their size, so a new picture costs a fraction of its
// bytes, and a zoom or a camera move that needs more detail uploads it
// then, at most this much in a frame beyond its coarsest levels, so that
// no animation tick carries a whole big picture. The copy costs about a
// millisecond for every 6 MiB even in software rendering: a zoom's finer
// picture (24 MiB for a 6000 x 4000 one at 4x) goes up with one frame.
static constexpr qint64 uploadPerFrame = qint64(32) << 20;

// What the view keeps of a plane: its picture's texture and its inset's.
struct PlaneTextures {
    PictureUpload picture;
    PictureUpload inset;
    bool insetUp = false; // the inset has every level the last frame needed
    bool drawn = false;   // the frame being drawn has its plane in the scene
};

struct Viewport3D::Gpu : QOpenGLFunctions {
    QOpenGLShaderProgram program;
    QOpenGLBuffer square;
    PictureUpload white; // for planes without a picture
    std::unordered_map<const PicturePlane*, PlaneTextures> planes;
};

// Takes upload's new picture, if any, and uploads what a frame that maps it
// with mvp onto this many pixels needs of it, within budget; true while
// finer levels wait.
static bool provideFor(PictureUpload& upload, image::MipPicture pending, const QMatrix4x4& mvp, QSize pixels, qint64 budget)
{
    if (!pending.isNull())
        upload.take(std::move(pending));
    const QSize waiting = upload.waitingSize();
    return !waiting.isEmpty() && upload.provide(finestLevelNeeded(mvp, pixels, waiting), budget);
}

// Visits the picture planes below node in tree order, parents first.
template <class Visit> static void forEachPlane(const Node& node, const Visit& visit)
{
    for (const auto& child : node.children()) {
        if (auto* plane = dynamic_cast<PicturePlane*>(child.get()))
            visit(*plane);
        forEachPlane(*child, visit);
    }
}

// Places the unit square on the plane's rectangle in the scene.
static QMatrix4x4 squareToScene(const PicturePlane& plane)
{
    QMatrix4x4 m = plane.worldMatrix();
    m.scale(plane.width(), plane.height());
    return m;
}

Viewport3D::Viewport3D(QWidget* parent)
    : QWidget(parent)
    , surface_(ViewSurface::create(*this, *this))
{
    root_.onChanged = [this] { surface_.update(); };
    // A timer, not a posted call: input and timers that came due during the
    // upload are served before the frame. The platform's own update may come
    // first and draw the frame.
    drawAfterUpload_.setSingleShot(true);
    drawAfterUpload_.setInterval(0);
    connect(&drawAfterUpload_, &QTimer::timeout, this, [this] { surface_.drawPending(); });
}

Viewport3D::~Viewport3D()
{
    if (gpu_) {
        surface_.makeCurrent();
        gpu_.reset();
        surface_.doneCurrent();
    }
}

void Viewport3D::setCamera(Camera* camera)
{
    camera_ = camera;
    surface_.update();
}

void Viewport3D::setBackground(QColor colour)
{
    background_ = colour;
    surface_.update();
}

void Viewport3D::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    surface_.widget().setGeometry(rect());
}

QSize Viewport3D::devicePixels() const
{
    return (QSizeF(size()) * devicePixelRatio()).toSize();
}

void Viewport3D::drawNow()
{
    surface_.drawNow();
}

void Viewport3D::prepareFirstFrame()
{
    if (gpu_)
        return;
    surface_.widget().setGeometry(rect());
    surface_.prepare();
}

void Viewport3D::uploadThenDraw()
{
    surface_.update();
    if (gpu_) {
        surface_.makeCurrent();
        const QMatrix4x4 toClip = viewProjection();
        const QSize pixels = devicePixels();
        forEachPlane(root_, [&](PicturePlane& plane) { uploadFor(plane, toClip * squareToScene(plane), pixels); });
        surface_.doneCurrent();
    }
    drawAfterUpload_.start();
}

QImage Viewport3D::grabFramebuffer()
{
    if (!gpu_)
        return {};
    surface_.makeCurrent();
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    format.setSamples(ViewSurface::format().samples());
    QOpenGLFramebufferObject frame(devicePixels(), format);
    frame.bind();
    // A picture read back is the finished one, as the screen shows it a few
    // frames later.
    uploadWhole_ = true;
    paintGL(frame.size());
    uploadWhole_ = false;
    frame.release();
    QImage image = frame.toImage();
    image.setDevicePixelRatio(devicePixelRatio());
    return image;
}

QMatrix4x4 Viewport3D::viewProjection() const
{
    QMatrix4x4 projection;
    projection.perspective(45, float(width()) / qMax(1, height()), 1, 1000);
    QMatrix4x4 view;
    view.rotate(180, 1, 0, 0); // our +Y down, +Z away becomes OpenGL's +Y up, -Z away
    if (camera_)
        view *= camera_->worldMatrix().inverted();
    return projection * view;
}

QPointF Viewport3D::project(const QVector3D& scenePoint) const
{
    const QVector3D ndc = viewProjection().map(scenePoint);
    return {(ndc.x() + 1) / 2 * width(), (1 - ndc.y()) / 2 * height()};
}

PicturePlane* Viewport3D::planeAt(QPointF pos) const
{
    const QPointF ndc(2 * pos.x() / width() - 1, 1 - 2 * pos.y() / height());
    const Ray ray = rayThrough(ndc, viewProjection());
    PicturePlane* nearest = nullptr;
    float nearestT = 0;
    forEachPlane(root_, [&](PicturePlane& plane) {
        const auto t = hitUnitSquare(ray, squareToScene(plane));
        if (t && (!nearest || *t < nearestT)) {
            nearest = &plane;
            nearestT = *t;
        }
    });
    return nearest;
}

void Viewport3D::initializeGL()
{
    gpu_ = std::make_unique<Gpu>();
    Gpu& gl = *gpu_;
    gl.initializeOpenGLFunctions();
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &deviceTextureSide_);

    // Without its shaders the view draws nothing at all: it says so instead.
    if (const QString failure = buildShaderProgram(gl.program, vertexShader, fragmentShader); !failure.isEmpty()) {
        gpu_.reset();
        emit failed(failure);
        return;
    }

    gl.square.create();
    gl.square.bind();
    gl.square.allocate(unitSquare, sizeof unitSquare);

    QImage white(1, 1, image::pictureFormat);
    white.fill(Qt::white);
    gl.white.take(image::MipPicture(white));
    gl.white.provide(0);
}

bool Viewport3D::uploadFor(PicturePlane& plane, const QMatrix4x4& mvp, QSize pixels)
{
    PlaneTextures& textures = gpu_->planes[&plane];
    const qint64 budget = uploadWhole_ ? PictureUpload::whole : uploadPerFrame;
    // The view keeps the pictures from here on: the plane keeps their sizes.
    const bool pictureWaits = provideFor(textures.picture, plane.takePendingPicture(), mvp, pixels, budget);
    const QRectF part = plane.insetPart();
    if (part.isEmpty()) {
        textures.inset = PictureUpload(); // its memory follows what is on screen
        textures.insetUp = false;
        return pictureWaits;
    }
    const bool insetWaits =
        provideFor(textures.inset, plane.takePendingInset(), mvp * squareOnPart(part), pixels, budget);
    // Drawn only whole: coarser levels of it could show less than the picture.
    textures.insetUp = !insetWaits && textures.inset.texture();
    return pictureWaits || insetWaits;
}

void Viewport3D::beginFrame(QSize pixels)
{
    Gpu& gl = *gpu_;
    gl.glViewport(0, 0, pixels.width(), pixels.height());
    const QColor c = background_;
    gl.glClearColor(c.redF() * c.alphaF(), c.greenF() * c.alphaF(), c.blueF() * c.alphaF(), c.alphaF());
    gl.glClearDepthf(1);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glDepthMask(GL_TRUE);
    gl.glDisable(GL_CULL_FACE); // planes show both sides
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);

    gl.program.bind();
    gl.square.bind();
    gl.program.enableAttributeArray(0);
    gl.program.setAttributeBuffer(0, GL_FLOAT, 0, 2);
    gl.program.setUniformValue("picture", 0);
}

// Software OpenGL (Mesa's llvmpipe) compiles a shader for the state and the
// kind of texture it draws with at the first draw that uses them: a picture
// with its levels, not the plain white of a plane without one.
void Viewport3D::warmUp(QSize pixels)
{
    if (!gpu_)
        return;
    beginFrame(pixels);
    Gpu& gl = *gpu_;
    PictureUpload picture;
    QImage pixel(3, 3, image::pictureFormat);
    pixel.fill(Qt::gray);
    picture.take(image::MipPicture(pixel));
    picture.provide(0);
    picture.texture()->bind();
    gl.program.setUniformValue("mvp", QMatrix4x4());
    gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    gl.glFinish();
}

void Viewport3D::paintGL(QSize pixels)
{
    if (!gpu_)
        return;
    maxTextureSide_ = deviceTextureSide_;
    beginFrame(pixels);
    Gpu& gl = *gpu_;
    const QMatrix4x4 toClip = viewProjection();
    bool uploading = false;
    forEachPlane(root_, [&](PicturePlane& plane) {
        const QMatrix4x4 mvp = toClip * squareToScene(plane);
        uploading |= uploadFor(plane, mvp, pixels);
        PlaneTextures& textures = gl.planes[&plane];
        textures.drawn = true;
        const bool inset = plane.hasPicture() && textures.insetUp;
        if (inset) {
            textures.inset.texture()->bind();
            gl.program.setUniformValue("mvp", mvp * squareOnPart(plane.insetPart()));
            gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            // The plane goes a hair behind its inset, so that the inset wins
            // where both lie, and nothing else changes.
            gl.glEnable(GL_POLYGON_OFFSET_FILL);
            gl.glPolygonOffset(1, 1);
        }
        QOpenGLTexture* texture = textures.picture.texture();
        (plane.hasPicture() && texture ? texture : gl.white.texture())->bind();
        gl.program.setUniformValue("mvp", mvp);
        gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        if (inset)
            gl.glDisable(GL_POLYGON_OFFSET_FILL);
    });
    // A plane gone from the scene takes its textures with it.
    for (auto entry = gl.planes.begin(); entry != gl.planes.end();)
        entry = std::exchange(entry->second.drawn, false) ? std::next(entry) : gl.planes.erase(entry);
    // The finer levels still waiting go up with the next frames.
    uploading_ = uploading;
    if (uploading)
        surface_.update();
}

void Viewport3D::wheelEvent(QWheelEvent* event)
{
    // Touchpads open and close a scroll gesture with events that carry no
    // movement at all; they are not turns of a wheel.
    if (event->phase() != Qt::NoScrollPhase && event->angleDelta().isNull()) {
        event->ignore();
        return;
    }
    PicturePlane* plane = planeAt(event->position());
    if (plane && plane->onWheel)
        plane->onWheel(*plane, *event);
    else
        event->ignore();
}

}
