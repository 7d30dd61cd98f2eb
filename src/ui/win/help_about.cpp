// Help, About and the right-click menu. Every failure of the shell to open the help document is
// reported in the active language; the About dialog and the menu need no reports.
#include "ui/win/help_about.h"

#include <shellapi.h>

#include <cstdio>

#include "ui/ui_text.h"
#include "ui/win/app_window.h"
#include "ui/win/menu_bar.h"
#include "ui/win/message_box.h"

void OnHelpCommand() {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(g_mainWindow, "open", kHelpFilePath, nullptr, nullptr, SW_RESTORE));
  if (result > 32) return;
  switch (result) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      Report(UiText.msgHelpNotFound, kMessageError);
      Report(UiText.msgHelpFolderHint, kMessageHint);
      break;
    case SE_ERR_NOASSOC:
      Report(UiText.msgHelpCannotOpen, kMessageWarning);
      Report(UiText.msgInstallPdfViewer, kMessageHint);
      break;
    default:
      Report(WithErrorCode(ErrorCodeForm::kShell, UiText.msgHelpOpenFailed, static_cast<unsigned long>(result)).c_str(),
             kMessageError);
  }
}

void OnAboutCommand() {
  const int templateId = g_language == kRussian ? kAboutDialogRussian : kAboutDialogEnglish;
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(templateId), g_mainWindow, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

void ShowQuitMenu(LPARAM clickPoint) {
  POINT point = {static_cast<LONG>(LOWORD(clickPoint)), static_cast<LONG>(HIWORD(clickPoint))};
  ClientToScreen(g_mainWindow, &point);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, kCommandQuit, UiText.menuQuit);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, point.x, point.y, 0, g_mainWindow,
                 nullptr);
  DestroyMenu(menu);
}
