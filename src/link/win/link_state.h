// LinkState: the connection to the reader's serial port, the only way to reach the port.
// One program-wide record; ResetLink closes the port and forgets it.
#pragma once

#include <windows.h>

#include <string>

struct LinkState {
  std::string portName;
  HANDLE portHandle = INVALID_HANDLE_VALUE;
  bool portOpen = false;
  bool portChosenByHand = false;
  bool hotplugPending = false;
  int portListIndex = -1;
};

extern LinkState g_link;

// Closes the port if it is open; the link is then closed.
void ResetLink();
