// Saves what a window shows on the screen as a BMP file, for a person to look at.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowImage(HWND window, const std::string& path);
