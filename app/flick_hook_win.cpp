#include "app/flick_hook_win.h"
#include "app/flick.h"

namespace {

struct Hook {
    WNDPROC previous;
    FlickClient client;
};

constexpr const wchar_t* hookProperty = L"RukViewerFlickHook";

Hook* hookOf(HWND hwnd)
{
    return static_cast<Hook*>(GetPropW(hwnd, hookProperty));
}

}

void installWndProcHook(HWND mainWindow, FlickClient client)
{
    // The pointer-sized calls: GetWindowLongW/SetWindowLongW would cut a
    // 64-bit procedure address to 32 bits.
    auto* hook = new Hook{reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mainWindow, GWLP_WNDPROC)), client};
    if (!SetPropW(mainWindow, hookProperty, hook)) {
        delete hook;
        return;
    }
    SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProcHook));
}

WNDPROC PrevWndProc(HWND hwnd)
{
    if (const Hook* hook = hookOf(hwnd))
        return hook->previous;
    return reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
}

LRESULT CALLBACK WndProcHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Hook* hook = hookOf(hwnd);
    if (hook && message == WM_NCDESTROY) {
        // The window's last message: it leaves with the hook undone.
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
        RemovePropW(hwnd, hookProperty);
        const WNDPROC previous = hook->previous;
        delete hook;
        return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    // The client is asked only about flicks: other messages also arrive
    // while the window, and what the client reads, is being destroyed.
    const bool stepsEnabled =
        hook && message == tabletFlickMessage && hook->client.stepsEnabled(hook->client.context);
    const FlickDecision decision = decideFlick(hook != nullptr, message, wParam, stepsEnabled);
    if (!decision.handled)
        return CallWindowProcW(PrevWndProc(hwnd), hwnd, message, wParam, lParam);
    if (decision.step != 0)
        hook->client.runStep(hook->client.context, decision.step);
    return 1;
}
