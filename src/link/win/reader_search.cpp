// Search, handshake and reply judging as the user lives through them: each outcome is reported
// where it happens, and a hand-picked port that gives no usable answer is closed with a retry hint.
#include "link/win/reader_search.h"

#include <cstdio>
#include <string>

#include "link/reply_report_plan.h"
#include "link/timings.h"
#include "link/win/link_hooks.h"
#include "link/win/link_state.h"
#include "link/win/port_list.h"
#include "link/win/reader_lookup.h"
#include "link/win/serial_port.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

void ReportWithPort(const char* format, const char* text, MessageKind kind) {
  char message[512];
  std::snprintf(message, sizeof message, format, text, g_link.portName.c_str());
  Report(message, kind);
}

void ReportNoPorts() { Report(UiText.msgNoComPorts, kMessageWarning); }

// The code of the last read or poll of the reply line that failed, for its report.
DWORD g_lineError = 0;

}  // namespace

void SearchReader() {
  HWND list = PortList();
  EnableWindow(list, TRUE);
  if (FillPortList(list)) {
    SortPortList(list);
    LocateReader();
    return;
  }
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  ReportNoPorts();
}

void LocateReader() {
  if (!FindReaderPort(&g_link.portName, kTarnelIdentity)) {
    Report(UiText.msgTarnelNotFound, kMessageError);
    Report(UiText.msgSelectPortHint, kMessageHint);
    return;
  }
  ReportWithPort("%s\n\r->[%s]", UiText.msgReaderFound, kMessageSuccess);
  SelectPortInList(PortList(), g_link.portName.c_str(), &g_link.portListIndex);
  if (!g_link.portOpen) OpenAndHandshake();
}

void OpenAndHandshake() {
  if (!OpenPort(g_link.portName.c_str(), kReaderBaudRate)) {
    ReportWithPort("%s [%s]!", UiText.errorOpening, kMessageError);
    RefreshPortList();
    return;
  }
  g_link.portOpen = true;
  g_link.lostPortReported.clear();
  EnableWindow(PortList(), FALSE);
  SendHandshake();
}

void SendHandshake() {
  // A handshake whose reply no wait would read is not sent.
  if (LinkWaitRunning()) return;
  DWORD error = 0;
  if (!WritePort(kHandshakeCommand, kHandshakeLength, &error)) {
    EndLinkAfterFailedWrite(error);
    return;
  }
  OpenLinkWait(kTimerHandshakeWait);
}

ReplyCode ReportReply(char* buffer, int length) {
  const ReplyCode code = length <= 0 ? kReplyNothing : ClassifyReply(buffer, length);
  const bool portGone = length <= 0 && OpenPortGone();
  const ReplyPlan plan = PlanReplyReport(length, code, g_link.portChosenByHand, portGone);
  for (ReplyStep step : plan.steps) {
    switch (step) {
      case kReplyStepDone:
        return plan.code;
      case kReplyStepReportConnectionBroken:
        ReportConnectionBroken(g_link.portName);
        break;
      case kReplyStepReportReadError:
        ShowPortError(UiText.msgWhenReading, g_lineError);
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
        EnableWindow(PortList(), TRUE);
        break;
      case kReplyStepResetLink:
        ResetLink();
        break;
      case kReplyStepCardReply:
        if (JudgeCardReply(buffer, length)) return kReplyAcknowledged;
        break;
    }
  }
  return plan.code;
}

ReplyLine SerialReplyLine() {
  ReplyLine line;
  line.readReply = [](void*, char* buffer) { return ReadReplyBytes(buffer, kReplyBufferSize, &g_lineError); };
  line.pollByte = [](void*, char* byte) { return PollByte(byte, &g_lineError); };
  line.judgeReply = [](void*, char* buffer, int length) { return ReportReply(buffer, length); };
  return line;
}

ReplyCode ReadAndReportReply() { return ReadAndJudgeReply(SerialReplyLine()); }

void CheckFirmwareVersion(const char* text) {
  if (!IsSupportedFirmware(text)) {
    Report(UiText.msgFirmwareNotSupported, kMessageError);
    ResetLink();
    return;
  }
  const std::string version(text, 4);
  ShowVersion(version.c_str());
}

void OnPortChosen() {
  HWND list = PortList();
  const int index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  std::string name;
  const LRESULT length = index < 0 ? CB_ERR : SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  if (length != CB_ERR) {
    name.assign(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
  }
  if (name.empty()) {
    ReportNoPorts();
    return;
  }
  g_link.portName = name;
  g_link.portListIndex = index;
  OpenAndHandshake();
  g_link.portChosenByHand = true;
}

void OnSearchCommand() {
  ResetLink();
  OpenLinkWait(kTimerSearchDelay);
}
