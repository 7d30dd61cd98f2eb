// LinkState: the connection to the reader's serial port, the only way to reach the port, and how
// the link ends when the port fails or its reader is pulled out. One program-wide record, written
// by the link alone; the rest of the program asks LinkPortOpen.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"

struct LinkState {
  std::string portName;  // "COM" and a number; held whole, so COM1000 and above work too
  OwnedHandle portHandle;
  bool portOpen = false;
  bool portChosenByHand = false;
  int portListIndex = -1;
  // The port whose reader was last reported pulled out, until a port is opened again: a later
  // check of the same loss stays silent.
  std::string lostPortReported;
};

extern LinkState g_link;

// Closes the port if it is open, refreshes the port list, forgets a hand-picked port
// and shows "x.xx" as the version.
void ResetLink();

// Whether the port is open, for the rest of the program.
bool LinkPortOpen();

// True when the link is open on a port that the system no longer lists: its reader was pulled out.
bool OpenPortGone();
// "Connection broken.\n\r(Tarnel disabled!)" for the port whose reader was pulled out, then the
// link reset.
void ReportConnectionBroken(const std::string& lostPort);
// A failed port call as the user sees it: "Error [code] " and the phrase of reading or writing.
void ShowPortError(const char* phrase, DWORD code);
// A write to the open port failed (code 0: it came short, which shows nothing): reported as the
// reader pulled out when the port has left the system, otherwise with its code; the link is reset.
void EndLinkAfterFailedWrite(DWORD code);
