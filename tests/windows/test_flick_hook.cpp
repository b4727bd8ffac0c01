// The flick hook on a real top-level window: every flick is answered with 1,
// only a left or right flick steps and only when steps may start, and every
// other message reaches the window's own procedure unchanged, its answer
// returned as is.
#include "app/flick_hook_win.h"
#include "checks.h"
#include "app/flick.h"
#include <vector>

using checks::expect;

namespace {

struct Message {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message&) const = default;
};

// Messages the window's own procedure answers itself, each with a value of
// its own that needs all 64 bits.
const UINT answered[] = {WM_APP + 1, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN, tabletFlickMessage - 1,
    tabletFlickMessage, tabletFlickMessage + 1};

LRESULT answerTo(UINT message)
{
    return static_cast<LRESULT>(0x7EADBEEF00000000LL) + message;
}

std::vector<Message> seenByOwnProcedure;

LRESULT CALLBACK ownProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (UINT m : answered) {
        if (m == message) {
            seenByOwnProcedure.push_back({hwnd, message, wParam, lParam});
            return answerTo(message);
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Steps {
    bool enabled = true;
    std::vector<int> run;
};

FlickClient clientFor(Steps& steps)
{
    return {&steps, [](void* context) { return static_cast<Steps*>(context)->enabled; },
        [](void* context, int step) { static_cast<Steps*>(context)->run.push_back(step); }};
}

HWND createWindow()
{
    return CreateWindowExW(0, L"FlickHookTest", L"flick hook test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
        nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::string hex(unsigned long long v)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", v);
    return text;
}

void flicksStepOnlyLeftAndRight(HWND window, Steps& steps)
{
    // The bits around the direction field must not matter.
    const WPARAM otherBits = ~WPARAM(0xE0);
    for (bool enabled : {true, false}) {
        for (int direction = 0; direction < 8; ++direction) {
            const std::string what = "flick " + std::to_string(direction) + (enabled ? "" : " during a step");
            steps = {enabled, {}};
            seenByOwnProcedure.clear();
            const LRESULT result = SendMessageW(window, tabletFlickMessage,
                flickWParam(direction) | otherBits, MAKELPARAM(120, 80));
            expect(result == 1, what + ": answered " + hex(result));
            std::vector<int> expected;
            if (enabled && direction == 4)
                expected = {+1};
            if (enabled && direction == 0)
                expected = {-1};
            expect(steps.run == expected, what + ": " + std::to_string(steps.run.size()) + " steps run");
            expect(seenByOwnProcedure.empty(), what + ": reached the window's own procedure");
        }
    }
}

void otherMessagesPassUnchanged(HWND window, HWND otherWindow, Steps& steps)
{
    const Message messages[] = {
        {window, WM_APP + 1, WPARAM(0xFEDCBA9876543210ULL), LPARAM(-0x123456789ALL)},
        {window, WM_MOUSEMOVE, flickWParam(4), MAKELPARAM(10, 20)},
        {window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40)},
        {window, WM_KEYDOWN, VK_RIGHT, 0x014D0001},
        {window, tabletFlickMessage - 1, flickWParam(4), 7},
        {window, tabletFlickMessage + 1, flickWParam(0), 8},
    };
    for (const Message& m : messages) {
        const std::string what = "message " + hex(m.message);
        steps = {true, {}};
        seenByOwnProcedure.clear();
        const LRESULT result = SendMessageW(m.hwnd, m.message, m.wParam, m.lParam);
        expect(result == answerTo(m.message), what + ": answered " + hex(result));
        expect(seenByOwnProcedure == std::vector<Message>{m}, what + ": not passed on unchanged");
        expect(steps.run.empty(), what + ": ran a step");
    }
    // A flick for a window other than the main window is passed on too.
    steps = {true, {}};
    seenByOwnProcedure.clear();
    const Message flick{otherWindow, tabletFlickMessage, flickWParam(4), 0};
    const LRESULT result = WndProcHook(flick.hwnd, flick.message, flick.wParam, flick.lParam);
    expect(result == answerTo(flick.message), "flick for another window: answered " + hex(result));
    expect(seenByOwnProcedure == std::vector<Message>{flick}, "flick for another window: not passed on unchanged");
    expect(steps.run.empty(), "flick for another window: ran a step");
}

}

void checks::flickHook()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ownProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FlickHookTest";
    expect(RegisterClassW(&windowClass) != 0, "window class registered");
    const HWND window = createWindow();
    const HWND otherWindow = createWindow();
    expect(window && otherWindow, "windows created, error " + std::to_string(GetLastError()));
    if (!window || !otherWindow)
        return;

    Steps steps;
    installWndProcHook(window, clientFor(steps));
    // The whole 64-bit addresses, both ways.
    expect(PrevWndProc(window) == &ownProcedure, "PrevWndProc is the window's own procedure");
    expect(GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WndProcHook),
        "the window's procedure is WndProcHook");

    flicksStepOnlyLeftAndRight(window, steps);
    otherMessagesPassUnchanged(window, otherWindow, steps);

    // Each window keeps its own hook: a flick steps only its window's client.
    Steps otherSteps;
    installWndProcHook(otherWindow, clientFor(otherSteps));
    steps = {true, {}};
    SendMessageW(otherWindow, tabletFlickMessage, flickWParam(0), 0);
    expect(otherSteps.run == std::vector<int>{-1} && steps.run.empty(), "a flick on the second window steps its own client");
    DestroyWindow(otherWindow);
    DestroyWindow(window);
}
