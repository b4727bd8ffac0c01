#include "app/form2.h"
#include "view3d/viewport3d.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include <QApplication>
#include <QTimer>
#include <QtTest>

namespace driver {

void start(TForm1& form, const std::vector<std::string>& arguments)
{
    form.FormCreate(arguments);
    QSignalSpy drawn(form.Viewport3D1, &view3d::Viewport3D::frameSwapped);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the main window was never exposed");
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("the main window never became active");
    if (drawn.isEmpty() && !drawn.wait())
        qFatal("the 3D view never drew a frame");
}

std::unique_ptr<TForm1> startForm(const std::vector<std::string>& arguments)
{
    auto form = std::make_unique<TForm1>();
    start(*form, arguments);
    return form;
}

QImage frame(TForm1& form)
{
    return form.Viewport3D1->grabFramebuffer();
}

QPoint slotCentre(TForm1& form, int slot)
{
    const QVector3D centre = form.imgs[slot]->worldMatrix().map(QVector3D(0, 0, 0));
    return form.Viewport3D1->project(centre).toPoint();
}

QColor colourAt(const QImage& frame, QPoint logical)
{
    const qreal ratio = frame.devicePixelRatio();
    return frame.pixelColor(QPointF(logical.x() * ratio, logical.y() * ratio).toPoint());
}

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

void waitForStepEnd(TForm1& form)
{
    if (!QTest::qWaitFor([&] { return !form.TM_Img->isActive() && form.B_After->isEnabled(); }, 10000))
        qFatal("the step animation did not end");
}

bool progressWindowOpen()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<TForm2*>(widget) && widget->isVisible())
            return true;
    return false;
}

}
