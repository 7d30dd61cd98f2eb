// The key store's error reports: a box of kind error owned by the keys list window, with the
// system's error code appended where the message calls for it.
#pragma once

#include <windows.h>

// A failure met while an operation's files were open, reported once they are closed: its
// message and, where the message calls for one, the system's error code. No text: no failure.
struct KeyStoreFailure {
  const char* text = nullptr;
  bool withCode = false;
  DWORD code = 0;
};

// A report ends a failed operation, so keys.data and TmpKeys.data are removed before the box
// shows: no box of the key store is ever up while the keys lie on disk in plain text. The code
// is shown as "%s\nGetLastError=%08X". Returns false, the failed operation's result.
bool ReportKeyStoreFailure(const KeyStoreFailure& failure);
// The box with a code without removing anything first: for a plain key file that will not go.
void ShowKeyStoreErrorCode(const char* text, DWORD code);
