// A stand-in main window for the platform tests of the link: hidden, with the port list (id 6).
#pragma once

#include <windows.h>

HWND CreateTestMainWindow();
void DestroyTestMainWindow();
