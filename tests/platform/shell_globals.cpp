// The program-wide handles the shell library expects from the entry point, for the platform tests:
// a hidden main window with the port list, so the link code has its controls.
#include "shell_globals.h"

#include "app/win/app.h"
#include "ui/control_ids.h"
#include "ui/ui_text.h"

HINSTANCE g_instance = GetModuleHandleA(nullptr);
HWND g_mainWindow = nullptr;

HWND CreateTestMainWindow() {
  SelectUiText();
  g_mainWindow = CreateWindowExA(0, "STATIC", "platform test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                                 g_instance, nullptr);
  CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200, g_mainWindow,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPortList)), g_instance, nullptr);
  return g_mainWindow;
}

void DestroyTestMainWindow() {
  DestroyWindow(g_mainWindow);
  g_mainWindow = nullptr;
}
