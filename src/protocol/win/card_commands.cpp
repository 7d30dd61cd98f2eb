// Builds each card frame from the form, sends it and starts the card wait; the buttons choose the
// frame by card type, and a cyclic run goes on for as long as every card succeeds.
#include "protocol/win/card_commands.h"

#include <windows.h>

#include <utility>

#include "link/timings.h"
#include "protocol/command_frames.h"
#include "protocol/cyclic_run.h"
#include "protocol/win/card_snapshot_win.h"
#include "protocol/win/form_generator_commands.h"
#include "ui/control_ids.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

CardHooks g_hooks;
CyclicRun g_run;
SentCard g_sent;

enum CardType : int { kCardMaster = 0, kCardUser = 1 };

// Writes the frame and opens the card wait, or ends the link when the write fails. One wait at a
// time: a frame whose reply no wait would read is never sent.
void Send(const CommandFrame& frame, const CardSnapshot& form) {
  if (g_hooks.waitRunning()) return;
  g_sent = {static_cast<char>(frame.bytes[3]), static_cast<char>(frame.bytes[4]), form};
  DWORD error = 0;
  if (!g_hooks.writePort(reinterpret_cast<const char*>(frame.bytes), kCommandFrameSize, &error)) {
    g_hooks.writeFailed(error);
    return;
  }
  g_hooks.openWait(kTimerCardWait);
}

// Runs the master or user operation for the chosen card type, or with the port closed the
// reader search; the operation is not remembered.
void Dispatch(void (*master)(), void (*user)()) {
  if (!g_hooks.portOpen()) {
    g_hooks.openWait(kTimerSearchDelay);
    return;
  }
  const int cardType =
      static_cast<int>(SendDlgItemMessageA(g_mainWindow, kIdCardType, CB_GETCURSEL, 0, 0));
  if (cardType == kCardMaster) master();
  if (cardType == kCardUser) user();
}

bool ClearConfirmed() { return AskYesNo(g_mainWindow, UiText.msgConfirmClearCard); }

}  // namespace

void SetCardHooks(const CardHooks& hooks) { g_hooks = hooks; }

SentCard TakeSentCard() { return std::exchange(g_sent, SentCard{}); }

void SendMasterWrite() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildMasterWrite(form), form);
}

void SendMasterRead() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildMasterRead(form), form);
}

void SendMasterClear() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildMasterClear(form), form);
}

void SendUserWrite() {
  CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  if (UserWriteGeneratesData(form)) {
    if (!FillUniqueSectorData()) return;
    form = ReadCardSnapshot(g_mainWindow);
  }
  Send(BuildUserWrite(form), form);
}

void SendUserRead() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildUserRead(form), form);
}

void SendUserClear() {
  const CardSnapshot form = ReadCardSnapshot(g_mainWindow);
  Send(BuildUserClear(form), form);
}

void WriteCard() { Dispatch(SendMasterWrite, SendUserWrite); }

void ReadCard() { Dispatch(SendMasterRead, SendUserRead); }

void ClearCard() { Dispatch(SendMasterClear, SendUserClear); }

void OnCardCommand(int id) {
  switch (id) {
    case kIdWrite:
      StartRun(g_run, kRunSingle);
      WriteCard();
      break;
    case kIdRead:
      StartRun(g_run, kRunSingle);
      ReadCard();
      break;
    case kIdClear:
      StartRun(g_run, kRunSingle);
      if (ClearConfirmed()) ClearCard();
      break;
    case kIdWriteCyclically:
      StartRun(g_run, kRunWriteCyclically);
      WriteCard();
      break;
    case kIdClearCyclically:
      StartRun(g_run, kRunClearCyclically);
      ClearCard();
      break;
  }
}

bool RecordCardSuccess() { return RecordSuccess(g_run); }

bool CyclicRunGoesOn() { return NextCyclicStep(g_run) != kCyclicStop; }

void SendNextCardOfRun() {
  if (g_run.kind == kRunWriteCyclically) WriteCard();
  if (g_run.kind == kRunClearCyclically) ClearCard();
}
