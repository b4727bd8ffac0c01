#include "app/flick_hook.h"
#include "app/form1.h"
#include "toolkit/error_report.h"
#include "toolkit/flick.h"
#include "toolkit/push_button.h"
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

// A flick passes no modifiers: Shift never shortens its turn.
void runStep(TForm1& form, int step)
{
    toolkit::reportErrors([&] {
        if (step > 0)
            form.B_AfterClick({});
        else
            form.B_BeforeClick({});
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
