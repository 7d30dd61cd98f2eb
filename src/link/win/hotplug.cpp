// The hot-plug check. It never runs under a wait or in the middle of a search or report: it would
// close the port a wait is about to read, or start a second search. Such a check is deferred.
#include "link/win/hotplug.h"

#include <cstdio>

#include "app/win/app.h"
#include "app/win/message_box.h"
#include "app/win/waits.h"
#include "link/win/link_state.h"
#include "link/win/port_list.h"
#include "link/win/reader_lookup.h"
#include "link/win/reader_search.h"
#include "link/win/serial_port.h"
#include "ui/ui_text.h"

namespace {

constexpr DWORD kReopenPauseMs = 1000;

int g_activityDepth = 0;

bool LinkBusy() { return g_activityDepth > 0 || g_waitWindow != nullptr; }

void RecheckOpenPort() {
  CloseHandle(g_link.portHandle);
  g_link.portHandle = INVALID_HANDLE_VALUE;
  Sleep(kReopenPauseMs);
  if (IsPortPresent(g_link.portName.c_str())) {
    if (OpenPort(g_link.portName.c_str(), kReaderBaudRate)) return;
    // The handle is closed already: the reset must not close it again.
    g_link.portOpen = false;
    char message[512];
    std::snprintf(message, sizeof message, "%s [%s]!", UiText.errorOpening, g_link.portName.c_str());
    Report(message, kMessageError);
    ResetLink();
    return;
  }
  g_link.portOpen = false;
  Report(UiText.msgConnectionBroken, kMessageError);
  HWND list = PortList();
  SendMessageA(list, CB_DELETESTRING, g_link.portListIndex, 0);
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  ResetLink();
}

void LookForNewReader() {
  RefreshPortList();
  if (FindReaderPort(&g_link.portName, kTarnelIdentity)) OpenWaitWindow(kTimerSearchDelay, kSearchDelayTickMs);
}

}  // namespace

void HotplugCheck() {
  KillTimer(g_mainWindow, kTimerHotplugDebounce);
  g_link.hotplugPending = false;
  if (LinkBusy()) {
    g_link.hotplugDeferred = true;
    return;
  }
  g_link.hotplugDeferred = false;
  BeginLinkActivity();
  if (g_link.portOpen) {
    RecheckOpenPort();
  } else {
    LookForNewReader();
  }
  EndLinkActivity();
}

void BeginLinkActivity() { ++g_activityDepth; }

void EndLinkActivity() {
  --g_activityDepth;
  if (g_link.hotplugDeferred && !LinkBusy()) HotplugCheck();
}
