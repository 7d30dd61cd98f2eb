// Performs the timed machine's actions on the main window. Each action runs after the machine has
// taken its event, so an action that opens the next wait (a search that sends the handshake) can.
#include "app/win/waits.h"

#include <commctrl.h>
#include <dbt.h>

#include "app/timed_machine.h"
#include "link/win/hotplug.h"
#include "link/win/link_state.h"
#include "link/win/reader_search.h"
#include "protocol/card_wait_ticks.h"
#include "protocol/win/card_commands.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"

HWND g_waitWindow = nullptr;

namespace {

TimedMachine g_machine;
CardWait g_cardWait;

struct WaitCaption {
  int timer;
  const char* UiTextTable::*caption;
};

const WaitCaption kWaitCaptions[] = {
    {kTimerSearchDelay, &UiTextTable::waitSearch},
    {kTimerHandshakeWait, &UiTextTable::waitReadingSettings},
    {kTimerCardWait, &UiTextTable::waitPresentCard},
};

void Perform(const Actions& actions);

void ShowWaitWindow(int timer, int lastTick) {
  const char* caption = "";
  for (const WaitCaption& wait : kWaitCaptions) {
    if (wait.timer == timer) caption = UiText.*(wait.caption);
  }
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  g_waitWindow = CreateWindowExA(0, PROGRESS_CLASSA, caption, WS_VISIBLE | PBS_SMOOTH, screenWidth / 2 - 200,
                                 screenHeight / 2 - 25, 400, 50, g_mainWindow, nullptr, g_instance, nullptr);
  SendMessageA(g_waitWindow, PBM_SETRANGE, 0, MAKELPARAM(0, lastTick));
  SendMessageA(g_waitWindow, PBM_SETSTEP, 1, 0);
  SendMessageA(g_waitWindow, PBM_SETPOS, 0, 0);
}

void RunCardTick(int tick) {
  ReplyLine line = SerialReplyLine();
  line.endWait = [](void*) { Perform(EndWait(g_machine)); };
  const CardWaitTickEnd end = RunCardWaitTick(g_cardWait, tick, line);
  const bool nextCard = end == kCardWaitEnded && CyclicRunGoesOn();
  Perform(OnCardTickEnded(g_machine, end, nextCard));
}

void Perform(const Actions& actions) {
  for (const Action& action : actions) {
    switch (action.kind) {
      case kActionStartTimer:
        SetTimer(g_mainWindow, static_cast<UINT_PTR>(action.timer), static_cast<UINT>(action.value), nullptr);
        break;
      case kActionStopTimer:
        KillTimer(g_mainWindow, static_cast<UINT_PTR>(action.timer));
        break;
      case kActionShowWaitWindow:
        ShowWaitWindow(action.timer, action.value);
        break;
      case kActionStepProgress:
        SendMessageA(g_waitWindow, PBM_STEPIT, 0, 0);
        break;
      case kActionCloseWaitWindow:
        DestroyWindow(g_waitWindow);
        g_waitWindow = nullptr;
        break;
      case kActionDisableMainWindow:
        EnableWindow(g_mainWindow, FALSE);
        break;
      case kActionEnableMainWindow:
        EnableWindow(g_mainWindow, TRUE);
        break;
      case kActionSearchReader:
        SearchReader();
        break;
      case kActionReadHandshakeReply:
        ReadAndReportReply();
        break;
      case kActionRunCardTick:
        RunCardTick(action.value);
        break;
      case kActionRecheckOpenPort:
        RecheckOpenPort(action.value);
        Perform(OnCheckDone(g_machine, LinkPortOpen()));
        break;
      case kActionCheckClosedLink:
        CheckClosedLink(g_machine.changedPort);
        Perform(OnCheckDone(g_machine, LinkPortOpen()));
        break;
      case kActionCheckPortUnderWait:
        if (OpenPortGone()) Perform(OnPortGoneUnderWait(g_machine));
        break;
      case kActionReportReaderGone:
        ReportConnectionBroken(g_link.portName);
        break;
      case kActionSendNextCard:
        SendNextCardOfRun();
        break;
    }
  }
}

}  // namespace

void SetTimings(const Timings& timings) { g_machine.timings = timings; }

bool WaitRunning() { return WaitRunning(g_machine); }

bool OpenWait(int timer) {
  const Actions actions = OpenWait(g_machine, timer);
  Perform(actions);
  return !actions.empty();
}

void OnTimer(UINT_PTR timerId, bool fromMainLoop) {
  Perform(OnTick(g_machine, static_cast<int>(timerId), fromMainLoop));
}

void OnDeviceChange(WPARAM event) {
  Perform(OnDeviceChange(g_machine, event == DBT_DEVNODES_CHANGED, g_link.portOpen ? g_link.portName : ""));
}

void RunDueHotplugCheck() { Perform(OnMainLoopIdle(g_machine, LinkPortOpen())); }

void HoldHotplugChecks() { OnWindowOpened(g_machine); }

void ReleaseHotplugChecks() {
  OnWindowClosed(g_machine);
  // A check held meanwhile runs at the main loop's next turn, which this message makes sure comes.
  PostMessageA(g_mainWindow, WM_NULL, 0, 0);
}

void KillAllTimers() { Perform(StopAll(g_machine)); }
