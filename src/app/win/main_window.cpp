// The main window procedure and loop. Timer ticks act only when this loop dispatched them, and the
// hot-plug check runs only here between messages, so neither ever starts inside a box, dialog or
// menu. Every message is handled (or not) and then still goes on to DefWindowProcA.
#include "app/win/main_window.h"

#include <commctrl.h>
#include <dbt.h>

#include <utility>

#include "app/win/card_path.h"
#include "app/win/reader_link.h"
#include "keystore/win/key_store.h"
#include "keystore/win/keys_window.h"
#include "ui/control_ids.h"
#include "ui/ui_text.h"
#include "ui/win/hex_fields.h"
#include "ui/win/language.h"
#include "ui/win/main_form.h"
#include "ui/win/menu_bar.h"

HWND g_waitWindow = nullptr;

namespace {

TimedMachine g_machine;
// Whether the message being handled came from the main loop rather than a modal loop (a box,
// dialog or menu) that one of the program's handlers runs meanwhile.
bool g_dispatchPending = false;

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

// A tick of the card wait: its bytes read and judged by the card path, an acknowledgement shown
// while the wait still runs, then the wait ended and its final reply shown.
void RunCardTick(int tick) {
  CardWait& wait = ReadCardTick(tick);
  const bool acknowledged = wait.acknowledgement == nullptr ||
                            ShowCardWaitReply(wait.acknowledgement, wait.acknowledgementLength) == kReplyAcknowledged;
  const CardWaitTickEnd end = acknowledged ? wait.end : kCardWaitCutShort;
  if (end != kCardWaitGoesOn) Perform(EndWait(g_machine));
  if (acknowledged && end != kCardWaitGoesOn) ShowCardWaitReply(wait.final, wait.finalLength);
  Perform(OnCardTickEnded(g_machine, end, end == kCardWaitEnded && CyclicRunGoesOn()));
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
        OpenWait(SearchReader(WaitRunning(g_machine)));
        break;
      case kActionReadHandshakeReply: {
        const CardReply card = ReadHandshakeReply();
        if (card.kind != kCardReplyNotRecognized) ShowCardResult(card);
        break;
      }
      case kActionRunCardTick:
        RunCardTick(action.value);
        break;
      case kActionRecheckOpenPort:
        RecheckOpenPort(action.value);
        Perform(OnCheckDone(g_machine, IsOpen(g_readerLink)));
        break;
      case kActionCheckClosedLink:
        OpenWait(CheckClosedLink(g_machine.changedPort));
        Perform(OnCheckDone(g_machine, IsOpen(g_readerLink)));
        break;
      case kActionCheckPortUnderWait:
        if (OpenPortGone()) Perform(OnPortGoneUnderWait(g_machine));
        break;
      case kActionReportReaderGone:
        ReportConnectionBroken(g_readerLink.name);
        break;
      case kActionSendNextCard:
        OpenWait(SendNextCardOfRun(WaitRunning(g_machine)));
        break;
    }
  }
}

void OnCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const bool waitRunning = WaitRunning(g_machine);
  switch (id) {
    case kCommandQuit:
      SendMessageA(g_mainWindow, WM_CLOSE, 0, 0);
      break;
    case kCommandRussian:
    case kCommandEnglish:
      OnLanguageCommand(id);
      break;
    case kIdAddToList:
      OnAddToList();
      break;
    case kIdShowList:
      OnShowList();
      break;
    case kIdPortList:
      // While its drop-down list is open the port list is the user's and no check runs; one held
      // meanwhile runs at the main loop's next turn, which this message makes sure comes.
      if (HIWORD(wParam) == CBN_CLOSEUP) PostMessageA(g_mainWindow, WM_NULL, 0, 0);
      if (HIWORD(wParam) == CBN_SELCHANGE) OpenWait(OnPortChosen(waitRunning));
      break;
    case kIdSearch:
      OpenWait(OnSearchCommand());
      break;
    case kIdWrite:
    case kIdRead:
    case kIdClear:
    case kIdWriteCyclically:
    case kIdClearCyclically:
      OpenWait(OnCardCommand(id, waitRunning));
      break;
    case kIdGenerateRandom:
      OnGenerateRandomCommand();
      break;
    case kIdGenerateUnique:
      OnGenerateUniqueCommand();
      break;
    case kCommandHelp:
      OnHelpCommand();
      break;
    case kCommandAbout:
      OnAboutCommand();
      break;
    case kCommandCardJournal:
      OnCardJournalCommand();
      break;
    case kIdShowKey:
      OnShowKeyCommand();
      break;
    case kIdGenerateBeforeWrite:
      OnGenerateBeforeWriteCommand();
      break;
    case kIdConverterFormat0:
    case kIdConverterFormat1:
      OnConverterFormatCommand(id);
      break;
    case kIdKeyEdit:
    case kIdDataEdit:
      OnHexFieldCommand(id, HIWORD(wParam));
      break;
    case kIdCardType:
    case kIdWorkMode:
      OnViewComboCommand(wParam);
      break;
  }
}

}  // namespace

void RegisterMainWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = g_instance;
  windowClass.hIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(kProgramIcon));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassA(&windowClass);
}

HWND CreateMainWindow() {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 332;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 335;
  return CreateWindowExA(0, kMainWindowClass, UiText.windowTitle, WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                         kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, g_instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool fromMainLoop = std::exchange(g_dispatchPending, false);
  switch (message) {
    case WM_DESTROY:
      KillAllTimers();
      ResetLink();
      ShowKeyStoreReports(RemovePlainKeyFiles());
      CloseCardJournal();
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      OnCommand(wParam);
      break;
    case WM_NOTIFY:
      OnUpDownDelta(wParam, lParam);
      break;
    case WM_TIMER:
      Perform(OnTick(g_machine, static_cast<int>(wParam), fromMainLoop));
      break;
    case WM_DEVICECHANGE:
      Perform(OnDeviceChange(g_machine, wParam == DBT_DEVNODES_CHANGED, OpenReaderPort()));
      break;
    case WM_RBUTTONUP:
      ShowQuitMenu(lParam);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void SetTimings(const Timings& timings) { g_machine.timings = timings; }

bool OpenWait(int timer) {
  const Actions actions = OpenWait(g_machine, timer);
  Perform(actions);
  return !actions.empty();
}

void KillAllTimers() { Perform(StopAll(g_machine)); }

void RunMainLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    g_dispatchPending = message.hwnd == g_mainWindow;
    DispatchMessageA(&message);
    g_dispatchPending = false;
    // Once the main window is destroyed only WM_QUIT is left to come.
    if (!IsWindow(g_mainWindow) || !g_machine.checkDue) continue;
    // The windows that hold a check are asked only when one is due, not after every tick.
    Perform(OnMainLoopIdle(g_machine, IsOpen(g_readerLink), KeysWindowHandle() != nullptr || PortListDroppedDown()));
  }
}
