#include "resources/look.h"

namespace resources {

static QColor argb(QRgb value)
{
    return QColor::fromRgba(value);
}

static QGradientStops twoStops(QRgb top, QRgb bottom)
{
    return {{0.0, argb(top)}, {1.0, argb(bottom)}};
}

// The first family present draws each character; Japanese falls to the
// last ones.
static QStringList fontFamilies()
{
#ifdef _WIN32
    return {"Segoe UI", "Tahoma", "Yu Gothic UI", "Meiryo UI", "MS UI Gothic"};
#else
    return {"DejaVu Sans", "Noto Sans CJK JP"};
#endif
}

static QFont fontOfSize(int pixels)
{
    QFont font;
    font.setFamilies(fontFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    return font;
}

QFont uiFont()
{
    return fontOfSize(11);
}

widgets::PanelLook panelLook()
{
    return {
        .fill = {{0.0, argb(0xFFFAFAFA)}, {0.1655, argb(0xFFF0F0F0)},
                 {0.8417, argb(0xFFECECEC)}, {1.0, argb(0xFFD8D8D8)}},
        .outline = argb(0xFF8E8E8E),
    };
}

widgets::ButtonLook buttonLook()
{
    return {
        .fill = twoStops(0xFFFCFCFC, 0xFFB8B8B8),
        .outline = argb(0xFF525252),
        .radius = 3,
        .pressedGlow = {.colour = argb(0xFF4F4848), .softness = 0.4, .opacity = 0.9},
        .focusGlow = {.colour = argb(0xFF2080E0), .softness = 0.2, .opacity = 1},
        .font = uiFont(),
        .text = Qt::black,
    };
}

widgets::LabelLook labelLook()
{
    return {.font = uiFont(), .text = Qt::black};
}

widgets::DialLook dialLook()
{
    return {
        .fill = twoStops(0xFFFCFCFC, 0xFFB8B8B8),
        .outline = argb(0xFF525252),
        .dotFill = argb(0xFF505050),
        .dotOutline = Qt::white,
        .dotSize = 5,
        .dotInset = 2,
        .font = fontOfSize(9),
        .text = argb(0xFF101010),
    };
}

widgets::ScrollBarLook scrollBarLook()
{
    return {
        .frame = argb(0xFFCFCFCF),
        .buttonLength = 18,
        .buttonFill = twoStops(0xFFFAFAFA, 0xFFDEDEDE),
        .arrow = argb(0xFF5A5A5A),
        .arrowLength = 7,
        .arrowWidth = 8,
        .grooveFill = twoStops(0xFFC5C5C5, 0xFFF2F2F2),
        .grooveOutline = argb(0xFFBCC0C5),
        .thumbFill = twoStops(0xFFC1CCDA, 0xFF8793B1),
        .thumbOutline = argb(0xFF7A8593),
        .thumbHoverOpacity = 0.8,
        .thumbFadeMs = 200,
    };
}

widgets::BusyIndicatorLook busyIndicatorLook()
{
    return {.spoke = argb(0xFFBABABA), .lead = Qt::black, .turnMs = 833};
}

}
