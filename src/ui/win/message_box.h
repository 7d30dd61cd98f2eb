// The message helper: a modal box with one OK button, the caption "Message" and one of the
// program's own icons, chosen by the kind of the report.
#pragma once

#include <windows.h>

// Icon resource ids of the report kinds.
enum MessageKind : int {
  kMessageSuccess = 3,
  kMessageWarning = 4,
  kMessageError = 5,
  kMessageHint = 6,
  kMessageRetry = 7,
};

int ShowMessage(HWND owner, const char* text, const char* caption, UINT style, int iconId);

// The common case: owned by the main window, OK only, caption UiText "Message".
void Report(const char* text, MessageKind kind);
