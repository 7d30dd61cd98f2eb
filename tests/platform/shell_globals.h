// A stand-in main window for the platform tests of the link: hidden, with the port list (id 6).
// The shell's code finds its controls there as it would on the program's own main window.
#pragma once

#include <windows.h>

HWND CreateTestMainWindow();
void DestroyTestMainWindow();
