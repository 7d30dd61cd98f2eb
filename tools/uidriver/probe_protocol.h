// What the UI driver and the probe DLL say to each other: a request and its reply in a shared
// memory block named after the driver's process, announced by one registered window message; and
// the record of the top-level windows a program creates, in a block named after the program.
#pragma once

#include <windows.h>

inline constexpr char kProbeMessageName[] = "KeyloomUiProbe";
inline constexpr int kProbeReplyBytes = 60000;

enum ProbeOp : int {
  kProbeMenuBar = 1,     // the window's menu bar: one line per item
  kProbeComboItems = 2,  // a combo box's items: one line each
  kProbeListView = 3,    // a report list view: its column headers, then per row x, y and cells
  kProbePopupMenu = 4,   // the menu an open pop-up menu window (#32768) shows: as the menu bar
};

struct ProbeBlock {
  int op;
  HWND target;
  int replyLength;
  char reply[kProbeReplyBytes];
};

// The shared block's name for one driver process.
inline void ProbeBlockName(DWORD driverPid, char* name, size_t size) {
  wsprintfA(name, "Local\\KeyloomUiProbe-%lu", static_cast<unsigned long>(driverPid));
  (void)size;
}

// Every top-level window the program creates, in order, with the class and caption it was created
// with, and whether it has been destroyed since: a window that closes at once is still on the record.
// Written by the program's GUI thread alone, each entry before the count that includes it.
inline constexpr int kCreationRecordEntries = 1024;

struct CreatedWindowRecord {
  char className[32];
  char caption[128];
  ULONGLONG window;
  volatile LONG destroyed;
};

struct CreationRecord {
  volatile LONG count;
  CreatedWindowRecord windows[kCreationRecordEntries];
};

inline void CreationRecordName(DWORD programPid, char* name, size_t size) {
  wsprintfA(name, "Local\\KeyloomUiCreations-%lu", static_cast<unsigned long>(programPid));
  (void)size;
}
