// The hot-plug check. Timer 3 only makes it due; the main loop runs it between messages, never under
// a wait, box, dialog or the keys window, where it would close a port in use or open a second wait.
#include "link/win/hotplug.h"

#include <cstdio>

#include "app/win/waits.h"
#include "link/win/link_state.h"
#include "link/win/port_list.h"
#include "link/win/reader_lookup.h"
#include "link/win/reader_search.h"
#include "link/win/serial_port.h"
#include "ui/ui_text.h"
#include "ui/win/app_window.h"
#include "ui/win/message_box.h"

namespace {

constexpr DWORD kReopenPauseMs = 1000;

int g_holdDepth = 0;

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

void OnHotplugTimer() {
  KillTimer(g_mainWindow, kTimerHotplugDebounce);
  g_link.hotplugPending = false;
  g_link.hotplugDue = true;
}

void RunDueHotplugCheck() {
  if (!g_link.hotplugDue || g_holdDepth > 0 || WaitRunning()) return;
  g_link.hotplugDue = false;
  if (g_link.portOpen) {
    RecheckOpenPort();
  } else {
    LookForNewReader();
  }
}

void HoldHotplugChecks() { ++g_holdDepth; }

void ReleaseHotplugChecks() { --g_holdDepth; }
