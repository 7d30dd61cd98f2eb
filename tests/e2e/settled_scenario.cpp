// Start-up to an idle main window: reports of the start-up search are answered with OK until
// the program has been quiet for a moment after them.
#include "settled_scenario.h"

#include "ui/language_config.h"

HWND SettledScenario::StartIn(Language language) {
  WriteFile("appconfig.ini", LanguageConfigLine(language));
  HWND main = Start();
  if (main == nullptr) return nullptr;
  // The search reports that it found no reader; until it has, the window may look idle before
  // its wait opens, so only a longer quiet without a report counts.
  constexpr ULONGLONG kQuietAfterReportMs = 300;
  constexpr ULONGLONG kQuietWithoutReportMs = 1500;
  const ULONGLONG end = GetTickCount64() + 15000;
  ULONGLONG quietSince = GetTickCount64();
  bool reported = false;
  while (GetTickCount64() < end) {
    for (HWND box : ui::TopWindows(pid(), "#32770")) reported = ui::PressDialogButton(box, IDOK) || reported;
    const bool idle = ui::Enabled(main) && ui::TopWindows(pid(), "msctls_progress32").empty() &&
                      ui::TopWindows(pid(), "#32770").empty();
    if (!idle) quietSince = GetTickCount64();
    if (GetTickCount64() - quietSince >= (reported ? kQuietAfterReportMs : kQuietWithoutReportMs)) return main;
    ui::Pause(20);
  }
  ADD_FAILURE() << "the start-up did not settle";
  return main;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}
