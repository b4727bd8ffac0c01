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
    return onScreen(form, slot, 0, 0).toPoint();
}

QPointF onScreen(TForm1& form, int slot, float x, float y)
{
    return form.Viewport3D1->project(form.imgs[slot]->worldMatrix().map(QVector3D(x, y, 0)));
}

void wheel(TForm1& form, QPoint at, int delta, Qt::ScrollPhase phase)
{
    QWheelEvent event(at, form.Viewport3D1->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, phase, false);
    QApplication::sendEvent(form.Viewport3D1, &event);
}

QList<int> zoomed(const TForm1& form)
{
    QList<int> found;
    for (int i = 0; i < ring::slotCount; ++i)
        if (form.imgs[i]->scale().x != 1.0f)
            found << i;
    return found;
}

void resetZoom(TForm1& form)
{
    for (auto* plane : form.imgs)
        plane->setScale({1, 1, 1});
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
