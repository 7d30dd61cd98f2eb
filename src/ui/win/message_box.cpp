// Shows the program's reports through MessageBoxIndirectA with the program's own icons 3 to 7.
// The language id 0x400 leaves the button texts to the user's default language.
#include "ui/win/message_box.h"

#include "ui/ui_text.h"
#include "ui/win/app_window.h"

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
