// The WaitWindow and the ticks of the timers: each wait (timers 1, 2, 4) steps its progress bar, counts
// ticks and ends at its limit by closing the WaitWindow, then runs the timer's own end action.
#include "app/win/waits.h"

#include <commctrl.h>

#include <initializer_list>

#include "link/win/hotplug.h"
#include "link/win/reader_search.h"
#include "protocol/win/card_wait.h"
#include "ui/ui_text.h"
#include "ui/win/app_window.h"

HWND g_waitWindow = nullptr;
int g_waitTicks = 0;

namespace {

struct WaitKind {
  UINT_PTR timerId;
  const char* UiTextTable::*caption;
  int lastTick;
};

const WaitKind kWaitKinds[] = {
    {kTimerSearchDelay, &UiTextTable::waitSearch, 100},
    {kTimerHandshakeWait, &UiTextTable::waitReadingSettings, 2},
    {kTimerCardWait, &UiTextTable::waitPresentCard, 165},
};

const WaitKind* FindWaitKind(UINT_PTR timerId) {
  for (const WaitKind& kind : kWaitKinds) {
    if (kind.timerId == timerId) return &kind;
  }
  return nullptr;
}

// What each wait does once it is over; every end action gives the main window back.
void RunEndAction(UINT_PTR timerId) {
  switch (timerId) {
    case kTimerSearchDelay:
      EnableWindow(g_mainWindow, TRUE);
      SearchReader();
      break;
    case kTimerHandshakeWait:
      ReadAndReportReply();
      EnableWindow(g_mainWindow, TRUE);
      break;
  }
}

}  // namespace

void EndWait(UINT_PTR timerId) {
  g_waitTicks = 0;
  KillTimer(g_mainWindow, timerId);
  DestroyWindow(g_waitWindow);
  g_waitWindow = nullptr;
}

bool WaitRunning() { return g_waitWindow != nullptr; }

bool OpenWaitWindow(UINT_PTR timerId, UINT periodMs) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const WaitKind* kind = FindWaitKind(timerId);
  if (kind == nullptr || WaitRunning()) return false;
  g_waitWindow = CreateWindowExA(0, PROGRESS_CLASSA, UiText.*(kind->caption), WS_VISIBLE | PBS_SMOOTH,
                                 screenWidth / 2 - 200, screenHeight / 2 - 25, 400, 50, g_mainWindow,
                                 nullptr, g_instance, nullptr);
  SendMessageA(g_waitWindow, PBM_SETRANGE, 0, MAKELPARAM(0, kind->lastTick));
  SendMessageA(g_waitWindow, PBM_SETSTEP, 1, 0);
  SendMessageA(g_waitWindow, PBM_SETPOS, 0, 0);
  EnableWindow(g_mainWindow, FALSE);
  SetTimer(g_mainWindow, timerId, periodMs, nullptr);
  return true;
}

void OnTimer(UINT_PTR timerId, bool fromMainLoop) {
  if (timerId == kTimerHotplugDebounce) {
    OnHotplugTimer();
    return;
  }
  // A wait moves on only between the main loop's messages: a tick that a box or dialog of one of
  // its own steps dispatches is dropped, so no read or end action starts inside another.
  if (!fromMainLoop) return;
  if (timerId == kTimerCardWait) {
    OnCardWaitTick();
    return;
  }
  const WaitKind* kind = FindWaitKind(timerId);
  if (kind == nullptr) return;
  SendMessageA(g_waitWindow, PBM_STEPIT, 0, 0);
  if (++g_waitTicks < kind->lastTick) return;
  EndWait(timerId);
  RunEndAction(timerId);
}

void KillAllTimers() {
  for (UINT_PTR id : {kTimerSearchDelay, kTimerHandshakeWait, kTimerHotplugDebounce, kTimerCardWait}) {
    KillTimer(g_mainWindow, id);
  }
}
