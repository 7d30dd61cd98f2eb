// The program-wide LinkState, the reset that closes the port and puts the port list and the
// version label back to their idle state, and the reports that end a link whose port failed.
#include "link/win/link_state.h"

#include "link/win/port_list.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

LinkState g_link;

void ResetLink() {
  if (g_link.portOpen) {
    g_link.portOpen = false;
    g_link.portHandle.Reset();
  }
  RefreshPortList();
  g_link.portChosenByHand = false;
  ShowVersion("x.xx");
}

bool LinkPortOpen() { return g_link.portOpen; }

bool OpenPortGone() { return g_link.portOpen && !IsPortPresent(g_link.portName.c_str()); }

void ReportConnectionBroken(const std::string& lostPort) {
  g_link.lostPortReported = lostPort;
  // Closed before the box, so that nothing that runs under it takes the port for open.
  g_link.portOpen = false;
  g_link.portHandle.Reset();
  Report(UiText.msgConnectionBroken, kMessageError);
  ResetLink();
}

void ShowPortError(const char* phrase, DWORD code) {
  ReportSystemError(WithErrorCode(ErrorCodeForm::kPort, phrase, code).c_str());
}

void EndLinkAfterFailedWrite(DWORD code) {
  if (OpenPortGone()) {
    ReportConnectionBroken(g_link.portName);
    return;
  }
  if (code != 0) ShowPortError(UiText.msgWhenWriting, code);
  ResetLink();
}
