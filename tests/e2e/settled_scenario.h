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
