#pragma once
// The main window's flick hook on Windows. The toolkit does not hand
// WM_TABLET_FLICK to the program, so the window's procedure is replaced by
// WndProcHook, which steps on a flick and passes every other message on.
// Plain Win32: the window's owner supplies the steps through FlickClient.
#include <windows.h>

struct FlickClient {
    void* context;
    bool (*stepsEnabled)(void* context);
    void (*runStep)(void* context, int step); // +1 Next, -1 Previous
};

// The window procedure the main window had before the hook; set once.
extern WNDPROC PrevWndProc;

// Installs WndProcHook on mainWindow; called once, for the window's life.
void installWndProcHook(HWND mainWindow, FlickClient client);

LRESULT CALLBACK WndProcHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
