// The program-wide LinkState and the reset that closes the port and puts the port list and
// the version label back to their idle state.
#include "link/win/link_state.h"

#include "link/win/port_list.h"
#include "ui/win/form_controls.h"

LinkState g_link;

void ResetLink() {
  if (g_link.portOpen) {
    g_link.portOpen = false;
    g_link.portHandle.Reset();
  }
  RefreshPortList();
  g_link.portChosenByHand = false;
  SetWindowTextA(VersionLabel(), "x.xx");
}

bool LinkPortOpen() { return g_link.portOpen; }
