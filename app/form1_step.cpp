// TForm1's Next and Previous steps and the animation tick that turns the ring.
#include "app/form1.h"
#include "platform/shift_key.h"
#include "view3d/viewport3d.h"
#include "widgets/arc_dial.h"
#include "widgets/push_button.h"
#include <QTimer>
#include <cassert>

void TForm1::B_AfterClick(Qt::KeyboardModifiers modifiers)
{
    step(+1, modifiers);
}

void TForm1::B_BeforeClick(Qt::KeyboardModifiers modifiers)
{
    step(-1, modifiers);
}

// One step of the ring by direction (+1 Next, -1 Previous). The slot that is
// about to come into view is loaded first, while it is furthest away.
void TForm1::step(int direction, Qt::KeyboardModifiers modifiers)
{
    const int n = stlf->count();
    // Start-up and a first drop fill the list before they build the ring; a
    // step that arrives in between has no ring to turn yet.
    if (n == 0 || !imgCreateFlag)
        return;
    // The buttons and flicks that start a step are off while one runs.
    assert(!stepRunning());
    holdStepFocus();
    B_Before->setEnabled(false);
    B_After->setEnabled(false);
    imgs[imgFront]->setRotation({0, 0, 0});
    ArcDial1->setValue(0);

    const ring::StepLoad load = ring::stepLoad(imgFront, imgNumber, direction, n);
    const std::string& path = stlf->at(load.entry);
    // Opened here, whatever was decoded ahead: the file as it is now decides.
    image::PictureFile file;
    try {
        file = openForLoad(path);
    } catch (...) {
        enableSteps();
        throw;
    }
    loadOpened(load.slot, path, std::move(file));

    const bool oneTick = platform::shiftHeld(modifiers);
    tm_count = oneTick ? 1 : ring::ticksPerStep;
    rotation_deg = float(direction) * ring::slotAngle / float(tm_count);
    for (int i = 0; i < ring::slotCount; ++i)
        imgs_scale[i] = (imgs[i]->scale().x - 1.0f) / float(tm_count);

    imgFront = ring::wrap(imgFront + direction, ring::slotCount);
    imgNumber = ring::wrap(imgNumber + direction, n);
    nameViewAfterFront();
    TM_Img->start();
}

void TForm1::TM_ImgTimer()
{
    tm_count -= 1;
    TM_Img->stop();
    const view3d::Vec3 turn = dm_round->rotation();
    dm_round->setRotation({turn.x, std::fmod(turn.y + rotation_deg + 360.0f, 360.0f), turn.z});
    for (int i = 0; i < ring::slotCount; ++i) {
        const view3d::Vec3 s = imgs[i]->scale();
        imgs[i]->setScale({s.x - imgs_scale[i], s.y - imgs_scale[i], s.z - imgs_scale[i]});
    }
    // Drawn now, so that no tick is merged into a later frame.
    Viewport3D1->drawNow();
    if (tm_count > 0) {
        TM_Img->start();
        return;
    }
    for (auto* plane : imgs)
        plane->setScale({1, 1, 1});
    refineWhereNeeded();
    enableSteps();
    prepareDecodeAhead(rotation_deg > 0 ? +1 : -1);
    emit stepEnded();
}

// The timer runs from a step's start to its last tick, and only then.
bool TForm1::stepRunning() const
{
    return TM_Img->isActive();
}

// Disabling the focused step button would pass the focus on to Quit, where
// Enter would ask to quit; the window holds it until the step ends, so Enter
// pressed again on Next keeps stepping.
void TForm1::holdStepFocus()
{
    QWidget* focused = focusWidget();
    stepFocus_ = (focused == B_After || focused == B_Before) ? focused : nullptr;
    if (stepFocus_)
        setFocus(Qt::OtherFocusReason);
}

void TForm1::enableSteps()
{
    B_Before->setEnabled(true);
    B_After->setEnabled(true);
    if (stepFocus_ && focusWidget() == this)
        stepFocus_->setFocus(Qt::OtherFocusReason);
    stepFocus_ = nullptr;
}
