// The hot-plug check's paths. When it runs is decided elsewhere: only from the main loop between
// messages, never under a wait, box, dialog or the keys window, where it would close a port in use.
#include "link/win/hotplug.h"

#include <cstdio>

#include "link/port_names.h"
#include "link/timings.h"
#include "link/win/link_hooks.h"
#include "link/win/link_state.h"
#include "link/win/port_list.h"
#include "link/win/reader_lookup.h"
#include "link/win/reader_search.h"
#include "link/win/serial_port.h"
#include "ui/ui_text.h"
#include "ui/win/message_box.h"

namespace {

// Refreshes the port list and, when the reader is plugged in, opens the search delay.
void LookForNewReader() {
  RefreshPortList();
  if (FindReaderPort(&g_link.portName, kTarnelIdentity)) OpenLinkWait(kTimerSearchDelay);
}

}  // namespace

void RecheckOpenPort(int pauseMs) {
  g_link.portHandle.Reset();
  Sleep(static_cast<DWORD>(pauseMs));
  if (!IsPortPresent(g_link.portName.c_str())) {
    ReportConnectionBroken(g_link.portName);
    return;
  }
  if (OpenPort(g_link.portName.c_str(), kReaderBaudRate)) return;
  g_link.portOpen = false;
  char message[512];
  std::snprintf(message, sizeof message, "%s [%s]!", UiText.errorOpening, g_link.portName.c_str());
  Report(message, kMessageError);
  ResetLink();
}

void CheckClosedLink(const std::string& portAtChange) {
  if (!portAtChange.empty() && !SamePortName(portAtChange, g_link.lostPortReported) &&
      !IsPortPresent(portAtChange.c_str())) {
    ReportConnectionBroken(portAtChange);
    return;
  }
  LookForNewReader();
}
