// The key store's error reports: a box of kind error owned by the keys list window, with the
// system's error code appended where the message calls for it.
#pragma once

#include <windows.h>

void ReportKeyStoreError(const char* text);
// Shows "%s\nGetLastError=%08X" with the given code.
void ReportKeyStoreErrorCode(const char* text, DWORD code);
