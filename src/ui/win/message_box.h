// The message helper: every box of the program. A report is a modal box with one OK button, the
// caption "Message" and one of the program's own icons by its kind; the two yes/no questions and the
// port's error box have their own forms. One helper writes a system error code after a message.
#pragma once

#include <windows.h>

#include <string>

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

// A yes/no question with the system's information icon, its buttons in the interface's language
// (0x0409 in English, the user's default in Russian); true for Yes.
bool AskYesNo(HWND owner, const char* text);

// A failed call of the serial port: a plain box with the system's error icon.
void ReportSystemError(const char* text);

// The ways a message carries a system error code.
enum class ErrorCodeForm {
  kGetLastError,  // "message\nGetLastError=0000001E"
  kPort,          // "Error [21] message", the message being the phrase of reading or writing
  kCryptoStep,    // "message\nНомер ошибки: 0x80090016."
  kShell,         // "message\n\r[Error code: 31]"
};
std::string WithErrorCode(ErrorCodeForm form, const char* message, unsigned long code);
