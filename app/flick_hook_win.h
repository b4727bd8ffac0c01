#pragma once
// The main window's flick hook on Windows. The toolkit does not hand
// WM_TABLET_FLICK to the program, so the window's procedure is replaced by
// WndProcHook, which steps on a flick and passes every other message on.
// What the hook needs (the procedure it replaced, the client) is kept with
// the window itself, as a window property, and goes with the window.
// Plain Win32: the window's owner supplies the steps through FlickClient.
#include <windows.h>

struct FlickClient {
    void* context;
    bool (*stepsEnabled)(void* context);
    void (*runStep)(void* context, int step); // +1 Next, -1 Previous
};

// Installs WndProcHook on mainWindow; called once, for the window's life.
void installWndProcHook(HWND mainWindow, FlickClient client);

// The procedure WndProcHook passes hwnd's messages on to: the one the hook
// replaced, or for a window without the hook its class's.
WNDPROC PrevWndProc(HWND hwnd);

LRESULT CALLBACK WndProcHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
