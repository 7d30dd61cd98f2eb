// The main message loop. Timer ticks act only when this loop dispatched them, and the hot-plug
// check runs only here between messages, so neither ever starts inside a box, dialog or menu.
#include "app/win/main_loop.h"

#include <windows.h>

#include <utility>

#include "app/win/waits.h"
#include "ui/win/main_form.h"

namespace {

bool g_dispatchPending = false;

}  // namespace

void RunMainLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    g_dispatchPending = message.hwnd == g_mainWindow;
    DispatchMessageA(&message);
    g_dispatchPending = false;
    // Once the main window is destroyed only WM_QUIT is left to come.
    if (IsWindow(g_mainWindow)) RunDueHotplugCheck();
  }
}

bool TakeMainLoopDispatch() { return std::exchange(g_dispatchPending, false); }
