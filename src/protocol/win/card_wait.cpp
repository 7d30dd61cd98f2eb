// Each tick of the card wait: the reader's acknowledgement is required on the first tick, then a
// one-byte poll watches for the final reply, which is read and reported once it starts.
#include "protocol/win/card_wait.h"

#include <windows.h>
#include <commctrl.h>

#include "app/win/waits.h"
#include "link/win/reader_search.h"
#include "protocol/card_wait_ticks.h"
#include "protocol/win/card_commands.h"
#include "ui/win/app_window.h"

void OnCardWaitTick() {
  SendMessageA(g_waitWindow, PBM_STEPIT, 0, 0);
  ReplyLine line = SerialReplyLine();
  line.endWait = [](void*) { EndWait(kTimerCardWait); };
  const CardWaitTickEnd end = RunCardWaitTick(++g_waitTicks, line);
  if (end == kCardWaitGoesOn) return;
  EnableWindow(g_mainWindow, TRUE);
  if (end == kCardWaitEnded) RunCyclicStep();
}
