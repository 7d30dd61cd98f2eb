// Real keyboard and mouse input on the X display, as a user's own: the requests go to the
// X input server of the test tree (tools/xinput), which runs xdotool on the Linux side.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// True when the X input server's address and cookie (KEYLOOM_XINPUT, KEYLOOM_XINPUT_COOKIE, set by
// wine-run) are known.
bool XInputAvailable();
// Runs xdotool with these arguments and waits until it is done; false when it failed or when the
// server refused them (it runs only the commands and keys listed in tools/xinput/xinput-server.py).
bool XDoTool(const std::vector<std::string>& args);

// A left (1) or right (3) click at a screen point, or at the centre of a window.
bool ClickAt(int x, int y, int button = 1);
bool ClickWindow(HWND window, int button = 1);
// Types text into whatever has the keyboard focus, one key per character.
bool TypeText(const std::string& text);
// Presses one key by its X name: "Return", "Escape", "BackSpace" ...
bool PressKey(const std::string& key);

}  // namespace ui
