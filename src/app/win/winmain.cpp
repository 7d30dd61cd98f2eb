// Keyloom's entry point: language, single-instance rule, leftovers of a stopped run, main window,
// first reader search, and the message loop that runs everything else on this one thread.
#include <windows.h>

#include <commctrl.h>

#ifdef KEYLOOM_TEST_BUILD
#include <cstdlib>
#endif

#include "app/win/main_window.h"
#include "keystore/win/key_store.h"
#include "keystore/win/keys_window.h"
#include "ui/ui_text.h"
#include "ui/win/language.h"
#include "ui/win/main_form.h"

namespace {

// Brings the window of a running instance forward; true when there was one.
bool ForwardToRunningInstance() {
  HWND running = FindWindowA(nullptr, UiText.windowTitle);
  if (running == nullptr) return false;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  SetForegroundWindow(running);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The working folder holds the data files, which the people who program cards may change: no
  // library is ever loaded from it, or from anywhere but the system's own folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  g_instance = instance;
  LoadLanguage();
  SelectUiText();
  if (ForwardToRunningInstance()) return 0;
  // Only the one instance that runs may clean up: another's operation could be under way.
  ShowKeyStoreReports(RemoveKeyStoreLeftovers());

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

#ifdef KEYLOOM_TEST_BUILD
  // The build the tests run takes shortened periods from its environment; the program shipped
  // reads nothing there.
  SetTimings(ParseTimings(std::getenv("KEYLOOM_TIMINGS")));
#endif
  RegisterMainWindowClass();
  g_mainWindow = CreateMainWindow();
  BuildMainForm();
  ShowWindow(g_mainWindow, SW_SHOWNORMAL);
  UpdateWindow(g_mainWindow);
  CompleteMainForm();
  OpenWait(kTimerSearchDelay);

  RunMainLoop();
  return 0;
}
