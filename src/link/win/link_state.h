// LinkState: the connection to the reader's serial port, the only way to reach the port.
// One program-wide record; ResetLink closes the port and returns the link controls to idle.
#pragma once

#include <windows.h>

#include <string>

struct LinkState {
  std::string portName;  // "COM" and a number; held whole, so COM1000 and above work too
  HANDLE portHandle = INVALID_HANDLE_VALUE;
  bool portOpen = false;
  bool portChosenByHand = false;
  bool hotplugPending = false;
  // The debounce is over and the check waits for the main loop to run it.
  bool hotplugDue = false;
  int portListIndex = -1;
};

extern LinkState g_link;

// Closes the port if it is open, refreshes the port list, forgets a hand-picked port
// and shows "x.xx" as the version.
void ResetLink();
