#pragma once
// The looks of the painted controls, as plain values a program fills in, and
// the painting helpers the controls share. The controls hold no colours of
// their own.
#include <QColor>
#include <QFont>
#include <QGradientStops>
#include <QRectF>

class QPainter;
class QPainterPath;

namespace widgets {

// A feathered band along a shape's edge. softness sets its width (0 to 1),
// opacity its strength right at the edge.
struct Glow {
    QColor colour;
    double softness = 0;
    double opacity = 1;
};

struct PanelLook {
    QGradientStops fill; // top to bottom
    QColor outline;
};

struct ButtonLook {
    QGradientStops fill; // top to bottom
    QColor outline;
    double radius = 0;
    Glow pressedGlow; // inside the edge while pressed
    Glow focusGlow;   // outside the edge while focused
    QFont font;
    QColor text;
};

struct DialLook {
    QGradientStops fill; // top to bottom
    QColor outline;
    QColor dotFill;
    QColor dotOutline;
    double dotSize = 5;
    double dotInset = 2; // from the rim to the dot's edge
    QFont font;
    QColor text;
};

struct ScrollBarLook {
    QColor frame;
    int buttonLength = 18;
    QGradientStops buttonFill; // across the bar, also the track's fill
    QColor arrow;
    double arrowLength = 7; // along the bar
    double arrowWidth = 8;  // across the bar
    QGradientStops grooveFill; // top to bottom
    QColor grooveOutline;
    QGradientStops thumbFill; // across the bar
    QColor thumbOutline;
    double thumbHoverOpacity = 1;
    int thumbFadeMs = 0;
};

struct LabelLook {
    QFont font;
    QColor text;
};

struct BusyIndicatorLook {
    QColor spoke;
    QColor lead;
    int turnMs = 1000; // one full turn of the leading spoke
};

// Fills shape with a gradient over its bounds (top to bottom for
// Qt::Vertical, left to right for Qt::Horizontal) and strokes it with a
// 1-pixel outline; a shape on half-pixel lines gets crisp edges.
void paintShape(QPainter& painter, const QPainterPath& shape, const QGradientStops& fill,
                const QColor& outline, Qt::Orientation direction = Qt::Vertical);

// How far a glow reaches from the edge, in pixels.
int glowWidth(const Glow& glow);

// Glows along the edge of a rounded rectangle, inside or outside it.
void paintInnerGlow(QPainter& painter, const QRectF& rect, double radius, const Glow& glow);
void paintOuterGlow(QPainter& painter, const QRectF& rect, double radius, const Glow& glow);

// rect shrunk by half a pixel, so that a 1-pixel stroke on it fills the
// outermost pixels exactly.
QRectF strokeRect(const QRectF& rect);

}
