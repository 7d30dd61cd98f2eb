// A hidden main window with the port list for the platform tests, standing in for the program's own,
// so the link code finds its controls.
#include "shell_globals.h"

#include "ui/control_ids.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"

HWND CreateTestMainWindow() {
  SelectUiText();
  g_instance = GetModuleHandleA(nullptr);
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
