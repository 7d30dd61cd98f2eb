// The program-wide handles that keyloom.exe's entry point defines, for the platform tests,
// which run the shell without the main window.
#include "app/win/app.h"

HINSTANCE g_instance = nullptr;
HWND g_mainWindow = nullptr;
