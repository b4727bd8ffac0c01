#include "app/flick_hook_win.h"
#include "app/flick.h"

WNDPROC PrevWndProc = nullptr;

namespace {
HWND hookedWindow = nullptr;
FlickClient flickClient{};
}

void installWndProcHook(HWND mainWindow, FlickClient client)
{
    hookedWindow = mainWindow;
    flickClient = client;
    // The pointer-sized calls: GetWindowLongW/SetWindowLongW would cut a
    // 64-bit procedure address to 32 bits.
    PrevWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mainWindow, GWLP_WNDPROC));
    SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProcHook));
}

LRESULT CALLBACK WndProcHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool forMainWindow = hwnd == hookedWindow;
    // The client is asked only about flicks: other messages also arrive
    // while the window, and what the client reads, is being destroyed.
    const bool stepsEnabled = forMainWindow && message == tabletFlickMessage
        && flickClient.stepsEnabled(flickClient.context);
    const FlickDecision decision = decideFlick(forMainWindow, message, wParam, stepsEnabled);
    if (!decision.handled)
        return CallWindowProcW(PrevWndProc, hwnd, message, wParam, lParam);
    if (decision.step != 0)
        flickClient.runStep(flickClient.context, decision.step);
    return 1;
}
