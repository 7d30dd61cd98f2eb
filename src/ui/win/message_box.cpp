// Shows the program's reports through MessageBoxIndirectA with the program's own icons 3 to 7, and
// its questions through MessageBoxExA. The language id 0x400 leaves the button texts to the user's.
#include "ui/win/message_box.h"

#include <cstdio>

#include "ui/ui_text.h"
#include "ui/win/main_form.h"

int ShowMessage(HWND owner, const char* text, const char* caption, UINT style, int iconId) {
  MSGBOXPARAMSA params = {};
  params.cbSize = sizeof params;
  params.hwndOwner = owner;
  params.hInstance = GetModuleHandleA(nullptr);
  params.lpszText = text;
  params.lpszCaption = caption;
  params.dwStyle = style | MB_USERICON;
  params.lpszIcon = MAKEINTRESOURCEA(LOWORD(iconId));
  params.dwLanguageId = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
  return MessageBoxIndirectA(&params);
}

void Report(const char* text, MessageKind kind) {
  ShowMessage(g_mainWindow, text, UiText.messageCaption, MB_OK, kind);
}

bool AskYesNo(HWND owner, const char* text) {
  const WORD language = MAKELANGID(g_messageBoxLanguage, SUBLANG_DEFAULT);
  return MessageBoxExA(owner, text, UiText.messageCaption, MB_YESNO | MB_ICONINFORMATION, language) == IDYES;
}

void ReportSystemError(const char* text) { MessageBoxA(g_mainWindow, text, UiText.messageCaption, MB_ICONERROR); }

std::string WithErrorCode(ErrorCodeForm form, const char* message, unsigned long code) {
  char text[768];
  switch (form) {
    case ErrorCodeForm::kGetLastError:
      std::snprintf(text, sizeof text, "%s\nGetLastError=%08lX", message, code);
      break;
    case ErrorCodeForm::kPort:
      std::snprintf(text, sizeof text, "%s [%d] %s", UiText.errorWord, static_cast<int>(code), message);
      break;
    case ErrorCodeForm::kCryptoStep:
      std::snprintf(text, sizeof text, "%s\nНомер ошибки: 0x%08lX.", message, code);
      break;
    case ErrorCodeForm::kShell:
      std::snprintf(text, sizeof text, "%s\n\r[%s: %d]", message, UiText.errorCode, static_cast<int>(code));
      break;
  }
  return text;
}
