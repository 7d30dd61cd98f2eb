// The main window: its class, its creation at the centre of the screen, and its window procedure,
// which routes commands, timer ticks, up-down notifications, the right click and device changes.
#pragma once

#include <windows.h>

void RegisterMainWindowClass();
HWND CreateMainWindow();
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
