// The key store's error reports: a box of kind error owned by the keys list window, with the
// system's error code appended where the message calls for it.
#pragma once

#include <windows.h>

// A report ends a failed operation, so keys.data and TmpKeys.data are removed before the box
// shows: no box of the key store is ever up while the keys lie on disk in plain text.
void ReportKeyStoreError(const char* text);
// Shows "%s\nGetLastError=%08X" with the given code.
void ReportKeyStoreErrorCode(const char* text, DWORD code);
// The same box without removing anything first: for a plain key file that will not go.
void ShowKeyStoreErrorCode(const char* text, DWORD code);
