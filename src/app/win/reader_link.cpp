// The reader's link: the one SerialLink, whether the user picked its port by hand, and which lost
// port was last reported. Each outcome is reported where it happens; a hand-picked port that gives
// no usable answer is closed with a retry hint.
#include "app/win/reader_link.h"

#include <cstdio>
#include <vector>

#include "link/reader_ports.h"
#include "link/win/system_ports.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

SerialLink g_link;
bool g_chosenByHand = false;
// The port whose reader was last reported pulled out, until a port is opened again: a later
// check of the same loss stays silent.
std::string g_lostPortReported;

void ReportWithPort(const char* format, const char* text, MessageKind kind) {
  char message[512];
  std::snprintf(message, sizeof message, format, text, g_link.name.c_str());
  Report(message, kind);
}

void ReportNoPorts() { Report(UiText.msgNoComPorts, kMessageWarning); }

// A failed port call as the user sees it: "Error [code] " and the phrase of reading or writing.
void ShowPortError(const char* phrase, DWORD code) {
  ReportSystemError(WithErrorCode(ErrorCodeForm::kPort, phrase, code).c_str());
}

// Enables the port list and refills it from the system's ports, sorted by number; false, with the
// list empty, when the system lists none.
bool RefreshPortList(std::vector<std::string>* listed = nullptr) {
  std::vector<std::string> ports;
  const bool any = ListSystemPorts(&ports);
  const std::vector<std::string> sorted = any ? SortedPortNames(ports) : std::vector<std::string>();
  ShowPortList(sorted);
  if (listed != nullptr) *listed = sorted;
  return any;
}

void ReportOpenError() { ReportWithPort("%s [%s]!", UiText.errorOpening, kMessageError); }

TimerId SendHandshake(bool waitRunning) {
  // A handshake whose reply no wait would read is not sent.
  if (waitRunning) return kTimerNone;
  DWORD error = 0;
  if (!WriteCommand(g_link, kHandshakeCommand, kHandshakeLength, &error)) {
    EndLinkAfterFailedWrite(error);
    return kTimerNone;
  }
  return kTimerHandshakeWait;
}

TimerId OpenAndHandshake(bool waitRunning) {
  if (!OpenLink(g_link)) {
    ReportOpenError();
    RefreshPortList();
    return kTimerNone;
  }
  g_lostPortReported.clear();
  EnablePortList(false);
  return SendHandshake(waitRunning);
}

// Finds the reader's port among the ports listed, reports it, selects it and, with no port open,
// opens it.
TimerId LocateReader(const std::vector<std::string>& listed, bool waitRunning) {
  if (!FindReaderPort(&g_link.name, kTarnelIdentity)) {
    Report(UiText.msgTarnelNotFound, kMessageError);
    Report(UiText.msgSelectPortHint, kMessageHint);
    return kTimerNone;
  }
  ReportWithPort("%s\n\r->[%s]", UiText.msgReaderFound, kMessageSuccess);
  for (size_t i = 0; i < listed.size(); ++i) {
    if (SamePortName(listed[i], g_link.name)) {
      SelectListedPort(static_cast<int>(i));
      break;
    }
  }
  return IsOpen(g_link) ? kTimerNone : OpenAndHandshake(waitRunning);
}

// Shows the version when it is the supported one; otherwise reports it and resets the link.
void CheckFirmwareVersion(const char* text) {
  if (!IsSupportedFirmware(text)) {
    Report(UiText.msgFirmwareNotSupported, kMessageError);
    ResetLink();
    return;
  }
  const std::string version(text, 4);
  ShowVersion(version.c_str());
}

}  // namespace

const SerialLink& g_readerLink = g_link;

std::string OpenReaderPort() { return IsOpen(g_link) ? g_link.name : std::string(); }

bool OpenPortGone() { return IsOpen(g_link) && !IsPortPresent(g_link.name); }

void ResetLink() {
  CloseLink(g_link);
  RefreshPortList();
  g_chosenByHand = false;
  ShowVersion("x.xx");
}

void ReportConnectionBroken(const std::string& lostPort) {
  g_lostPortReported = lostPort;
  // Closed before the box, so that nothing that runs under it takes the port for open.
  CloseLink(g_link);
  Report(UiText.msgConnectionBroken, kMessageError);
  ResetLink();
}

void EndLinkAfterFailedWrite(DWORD code) {
  if (OpenPortGone()) {
    ReportConnectionBroken(g_link.name);
    return;
  }
  if (code != 0) ShowPortError(UiText.msgWhenWriting, code);
  ResetLink();
}

TimerId SearchReader(bool waitRunning) {
  std::vector<std::string> listed;
  if (!RefreshPortList(&listed)) {
    ReportNoPorts();
    return kTimerNone;
  }
  return LocateReader(listed, waitRunning);
}

CardReply ReadHandshakeReply() {
  char buffer[kReplyBufferSize + 1] = {};
  DWORD lineError = 0;
  const int length = ReadReply(g_link, buffer, kReplyBufferSize, &lineError);
  const ReplyVerdict verdict = JudgeReply(buffer, length);
  if (verdict.card.kind == kCardReplyNotRecognized) PerformReply(verdict.code, buffer, length, lineError);
  return verdict.card;
}

ReplyCode PerformReply(ReplyCode code, const char* buffer, int length, DWORD lineError) {
  const ReplyPlan plan = PlanReplyReport(length, code, g_chosenByHand, length <= 0 && OpenPortGone());
  for (ReplyStep step : plan.steps) {
    switch (step) {
      case kReplyStepDone:
        return plan.code;
      case kReplyStepReportConnectionBroken:
        ReportConnectionBroken(g_link.name);
        break;
      case kReplyStepReportReadError:
        ShowPortError(UiText.msgWhenReading, lineError);
        break;
      case kReplyStepReportSettingsRead:
        Report(UiText.msgSettingsRead, kMessageSuccess);
        break;
      case kReplyStepCheckFirmware:
        CheckFirmwareVersion(buffer);
        break;
      case kReplyStepReportInvalidCommand:
        Report(UiText.msgInvalidCommand, kMessageError);
        break;
      case kReplyStepReportNotRecognized:
        Report(UiText.msgAnswerNotRecognized, kMessageError);
        break;
      case kReplyStepReportNoResponse:
        Report(UiText.msgReaderNoResponse, kMessageRetry);
        break;
      case kReplyStepEnablePortList:
        EnablePortList(true);
        break;
      case kReplyStepResetLink:
        ResetLink();
        break;
    }
  }
  return plan.code;
}

TimerId OnPortChosen(bool waitRunning) {
  const std::string name = ChosenPort();
  if (name.empty()) {
    ReportNoPorts();
    return kTimerNone;
  }
  g_link.name = name;
  const TimerId wait = OpenAndHandshake(waitRunning);
  g_chosenByHand = true;
  return wait;
}

TimerId OnSearchCommand() {
  ResetLink();
  return kTimerSearchDelay;
}

void RecheckOpenPort(int pauseMs) {
  CloseLink(g_link);
  Sleep(static_cast<DWORD>(pauseMs));
  if (!IsPortPresent(g_link.name)) {
    ReportConnectionBroken(g_link.name);
    return;
  }
  if (OpenLink(g_link)) return;
  ReportOpenError();
  ResetLink();
}

TimerId CheckClosedLink(const std::string& portAtChange) {
  if (!portAtChange.empty() && !SamePortName(portAtChange, g_lostPortReported) && !IsPortPresent(portAtChange)) {
    ReportConnectionBroken(portAtChange);
    return kTimerNone;
  }
  // A newly plugged reader: the port list refreshed and, when it is there, the search delay.
  RefreshPortList();
  return FindReaderPort(&g_link.name, kTarnelIdentity) ? kTimerSearchDelay : kTimerNone;
}
