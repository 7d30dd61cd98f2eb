// Builds each card frame from the form, sends it and starts the card wait; the buttons choose the
// frame by card type, and a cyclic run goes on for as long as every card succeeds.
#include "protocol/win/card_commands.h"

#include <windows.h>

#include "app/win/waits.h"
#include "link/win/link_state.h"
#include "link/win/serial_port.h"
#include "protocol/win/card_snapshot_win.h"
#include "protocol/win/form_generator_commands.h"
#include "ui/control_ids.h"
#include "ui/ui_text.h"
#include "ui/win/app_window.h"

CommandFrame g_commandFrame = {};
ConfigBlock g_configBlock = {};
uint8_t g_cyclicWrite = 0;
uint8_t g_cyclicClear = 0;
uint8_t g_lastOperationSucceeded = 0;

namespace {

constexpr UINT kCardWaitTickMs = 50;
constexpr UINT kSearchDelayTickMs = 10;

enum CardType : int { kCardMaster = 0, kCardUser = 1 };

void Send(const CommandFrame& frame, const ConfigBlock& block) {
  g_commandFrame = frame;
  g_configBlock = block;
  SendCommandFrame(g_commandFrame.bytes, kCommandFrameSize);
}

// Runs the master or user operation for the chosen card type, or with the port closed the
// reader search; the operation is not remembered.
void Dispatch(void (*master)(), void (*user)()) {
  if (!g_link.portOpen) {
    OpenWaitWindow(kTimerSearchDelay, kSearchDelayTickMs);
    return;
  }
  const int cardType =
      static_cast<int>(SendDlgItemMessageA(g_mainWindow, kIdCardType, CB_GETCURSEL, 0, 0));
  if (cardType == kCardMaster) master();
  if (cardType == kCardUser) user();
}

// A button starts a run of its own kind: a cyclic run that never reached the end of a wait
// (no port, a failed send, no acknowledgement) must not turn a later single press cyclic, and
// the success of an earlier operation must not carry a new cyclic run past a failing first card.
void StartRun(uint8_t cyclicWrite, uint8_t cyclicClear) {
  g_cyclicWrite = cyclicWrite;
  g_cyclicClear = cyclicClear;
  g_lastOperationSucceeded = 0;
}

bool ClearConfirmed() {
  const WORD language = MAKELANGID(g_messageBoxLanguage, SUBLANG_DEFAULT);
  return MessageBoxExA(g_mainWindow, UiText.msgConfirmClearCard, UiText.messageCaption,
                       MB_YESNO | MB_ICONINFORMATION, language) == IDYES;
}

}  // namespace

void SendMasterWrite() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildMasterWrite(form), BuildMasterBlock(form));
}

void SendMasterRead() { Send(BuildMasterRead(ReadCardSnapshot(g_mainWindow)), ConfigBlock{}); }

void SendMasterClear() { Send(BuildMasterClear(ReadCardSnapshot(g_mainWindow)), ConfigBlock{}); }

void SendUserWrite() {
  CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  if (UserWriteGeneratesData(form)) {
    if (!FillUniqueSectorData()) return;
    form = ReadCardSnapshot(g_mainWindow);
  }
  Send(BuildUserWrite(form), BuildUserWriteBlock(form));
}

void SendUserRead() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildUserRead(form), BuildUserAddressBlock(form));
}

void SendUserClear() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildUserClear(form), BuildUserAddressBlock(form));
}

void SendCommandFrame(const uint8_t* frame, int length) {
  // One wait at a time: a frame whose reply no wait would read is never sent.
  if (WaitRunning()) return;
  if (!WritePort(reinterpret_cast<const char*>(frame), length)) {
    ResetLink();
    return;
  }
  OpenWaitWindow(kTimerCardWait, kCardWaitTickMs);
}

void WriteCard() { Dispatch(SendMasterWrite, SendUserWrite); }

void ReadCard() { Dispatch(SendMasterRead, SendUserRead); }

void ClearCard() { Dispatch(SendMasterClear, SendUserClear); }

void OnCardCommand(int id) {
  switch (id) {
    case kIdWrite:
      StartRun(0, 0);
      WriteCard();
      break;
    case kIdRead:
      StartRun(0, 0);
      ReadCard();
      break;
    case kIdClear:
      StartRun(0, 0);
      if (ClearConfirmed()) ClearCard();
      break;
    case kIdWriteCyclically:
      StartRun(1, 0);
      WriteCard();
      break;
    case kIdClearCyclically:
      StartRun(0, 1);
      ClearCard();
      break;
  }
}

void RunCyclicStep() {
  if (!g_cyclicWrite && !g_cyclicClear) return;
  if (!g_lastOperationSucceeded) {
    g_cyclicWrite = 0;
    g_cyclicClear = 0;
    return;
  }
  g_lastOperationSucceeded = 0;
  if (g_cyclicWrite) {
    WriteCard();
  } else {
    ClearCard();
  }
}
