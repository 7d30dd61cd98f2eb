// Builds "File", "Tools" (the Language submenu and "Card journal") and "Help" from UiText, and runs
// Help and About. Every failure of the shell to open the guide is reported in the active language.
#include "ui/win/menu_bar.h"

#include <shellapi.h>

#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

void BuildMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU tools = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  HMENU language = CreatePopupMenu();

  AppendMenuA(file, MF_STRING, kCommandQuit, UiText.menuQuit);
  AppendMenuA(language, MF_STRING, kCommandRussian, kRussianLanguageName);
  AppendMenuA(language, MF_STRING, kCommandEnglish, kEnglishLanguageName);
  CheckMenuItem(language, g_language == kEnglish ? kCommandEnglish : kCommandRussian,
                MF_BYCOMMAND | MF_CHECKED);
  AppendMenuA(tools, MF_POPUP, reinterpret_cast<UINT_PTR>(language), UiText.menuLanguage);
  AppendMenuA(tools, MF_STRING, kCommandCardJournal, UiText.menuCardJournal);
  AppendMenuA(help, MF_STRING, kCommandHelp, UiText.menuHelpItem);
  AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(help, MF_STRING, kCommandAbout, UiText.menuAbout);

  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), UiText.menuFile);
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), UiText.menuTools);
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), UiText.menuHelp);
  SetMenu(g_mainWindow, bar);
}

void RebuildMenuBar() {
  HMENU old = GetMenu(g_mainWindow);
  SetMenu(g_mainWindow, nullptr);
  DestroyMenu(old);
  BuildMenuBar();
}

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
