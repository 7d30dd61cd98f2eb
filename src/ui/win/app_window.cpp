// The program-wide module and main window handles, set once at start-up.
// Kept apart from the entry point so the shell can be linked into the platform tests.
#include "ui/win/app_window.h"

HINSTANCE g_instance = nullptr;
HWND g_mainWindow = nullptr;
