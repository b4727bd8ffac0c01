#include "app/flick_hook.h"
#include "app/form1.h"
#include "toolkit/error_report.h"
#include "toolkit/flick.h"
#include "toolkit/push_button.h"
#include <QGuiApplication>
#ifdef _WIN32
#include "app/flick_hook_win.h"
#else
#include "toolkit/swipe_filter.h"
#endif

namespace {

bool stepsEnabled(const TForm1& form)
{
    return form.B_After->isEnabled();
}

// Shift held on the keyboard while flicking turns the ring in one tick, as
// it does for a click.
void runStep(TForm1& form, int step)
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    toolkit::reportErrors([&] {
        if (step > 0)
            form.B_AfterClick(modifiers);
        else
            form.B_BeforeClick(modifiers);
    });
}

}

#ifdef _WIN32

void installFlickHook(TForm1& form)
{
    installWndProcHook(reinterpret_cast<HWND>(form.winId()),
        {&form,
            [](void* context) { return stepsEnabled(*static_cast<TForm1*>(context)); },
            [](void* context, int step) { runStep(*static_cast<TForm1*>(context), step); }});
}

#else

// Without flick messages, a quick touch swipe over the window stands in for
// a flick: its direction goes through the same decision.
void installFlickHook(TForm1& form)
{
    auto* swipes = new toolkit::SwipeFilter(form);
    QObject::connect(swipes, &toolkit::SwipeFilter::swiped, &form, [&form](int direction) {
        const toolkit::FlickDecision decision = toolkit::decideFlick(
            true, toolkit::tabletFlickMessage, toolkit::flickWParam(direction), stepsEnabled(form));
        if (decision.step != 0)
            runStep(form, decision.step);
    });
}

#endif
