// A scenario that starts Keyloom in a chosen language and waits until its start-up is over,
// answering whatever the start-up search reports on a machine without a reader.
#pragma once

#include "harness.h"
#include "ui/ui_text.h"

class SettledScenario : public KeyloomScenario {
 protected:
  // The main window once the program is idle, with no report left open.
  HWND StartIn(Language language);
};

// The window that has the keyboard focus in another process's GUI thread.
HWND FocusOf(HWND window);

// Waits until the condition holds; false after the time-out.
template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = 2000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    ui::Pause(20);
  }
  return true;
}
