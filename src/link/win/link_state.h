// LinkState: the connection to the reader's serial port, the only way to reach the port.
// One program-wide record, written by the link alone; the rest of the program asks LinkPortOpen.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/owned_handle.h"

struct LinkState {
  std::string portName;  // "COM" and a number; held whole, so COM1000 and above work too
  OwnedHandle portHandle;
  bool portOpen = false;
  bool portChosenByHand = false;
  int portListIndex = -1;
};

extern LinkState g_link;

// Closes the port if it is open, refreshes the port list, forgets a hand-picked port
// and shows "x.xx" as the version.
void ResetLink();

// Whether the port is open, for the rest of the program.
bool LinkPortOpen();
