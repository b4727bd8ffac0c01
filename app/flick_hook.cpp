#include "app/flick_hook.h"
#include "app/flick.h"
#include <QWidget>
#ifdef _WIN32
#include "app/flick_hook_win.h"
#else
#include "platform/swipe_filter.h"
#endif

#ifdef _WIN32

void installFlickHook(QWidget& window, FlickSteps steps)
{
    // The window's procedure calls these for as long as the window lives.
    auto* kept = new FlickSteps(std::move(steps));
    QObject::connect(&window, &QObject::destroyed, [kept] { delete kept; });
    installWndProcHook(reinterpret_cast<HWND>(window.winId()),
        {kept, [](void* context) { return static_cast<FlickSteps*>(context)->enabled(); },
            [](void* context, int step) { static_cast<FlickSteps*>(context)->step(step); }});
}

#else

// Without flick messages, a quick touch swipe over the window stands in for
// a flick: its direction goes through the same decision.
void installFlickHook(QWidget& window, FlickSteps steps)
{
    auto* swipes = new platform::SwipeFilter(window);
    QObject::connect(swipes, &platform::SwipeFilter::swiped, &window, [steps = std::move(steps)](int direction) {
        const FlickDecision decision = decideFlick(
            true, tabletFlickMessage, flickWParam(direction), steps.enabled());
        if (decision.step != 0)
            steps.step(decision.step);
    });
}

#endif
