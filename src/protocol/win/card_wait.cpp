// Each tick of the card wait: the reader's acknowledgement is required on the first tick, then a
// one-byte poll watches for the final reply, which is read and reported once it starts.
#include "protocol/win/card_wait.h"

#include <windows.h>
#include <commctrl.h>

#include "app/win/app.h"
#include "app/win/waits.h"
#include "link/win/reader_search.h"
#include "link/win/serial_port.h"
#include "protocol/win/card_commands.h"

namespace {

constexpr int kCardWaitLastTick = 165;

}  // namespace

void OnCardWaitTick() {
  SendMessageA(g_waitWindow, PBM_STEPIT, 0, 0);
  ++g_waitTicks;
  if (g_waitTicks == 1 && ReadAndReportReply() != kReplyAcknowledged) {
    EndWait(kTimerCardWait);
    EnableWindow(g_mainWindow, TRUE);
    return;
  }
  if (g_waitTicks != kCardWaitLastTick && !PollByte()) return;
  EndWait(kTimerCardWait);
  ReadAndReportReply();
  EnableWindow(g_mainWindow, TRUE);
  RunCyclicStep();
}
