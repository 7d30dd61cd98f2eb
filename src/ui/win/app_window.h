// Program-wide handles of the running program: its module, its main window and the window class.
// Every message box and WaitWindow is owned by the main window.
#pragma once

#include <windows.h>

inline constexpr char kMainWindowClass[] = "my Window";
inline constexpr int kMainWindowWidth = 665;
inline constexpr int kMainWindowHeight = 670;

extern HINSTANCE g_instance;
extern HWND g_mainWindow;
