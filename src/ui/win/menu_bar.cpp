// Builds "File", "Tools" (the Language submenu and "Card journal") and "Help" from UiText and
// attaches them. The language names themselves read the same in both languages.
#include "ui/win/menu_bar.h"

#include "ui/ui_text.h"
#include "ui/win/app_window.h"

HMENU g_languageMenu = nullptr;

void BuildMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU tools = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  g_languageMenu = CreatePopupMenu();

  AppendMenuA(file, MF_STRING, kCommandQuit, UiText.menuQuit);
  AppendMenuA(g_languageMenu, MF_STRING, kCommandRussian, kRussianLanguageName);
  AppendMenuA(g_languageMenu, MF_STRING, kCommandEnglish, kEnglishLanguageName);
  CheckMenuItem(g_languageMenu, g_language == kEnglish ? kCommandEnglish : kCommandRussian,
                MF_BYCOMMAND | MF_CHECKED);
  AppendMenuA(tools, MF_POPUP, reinterpret_cast<UINT_PTR>(g_languageMenu), UiText.menuLanguage);
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
