// The menu bar of the main window in the active language, and its rebuild after a switch.
// The Language submenu is kept so the language commands can set its check marks.
#pragma once

#include <windows.h>

enum MenuCommand : int {
  kCommandQuit = 1,
  kCommandRussian = 2,
  kCommandEnglish = 3,
  kCommandHelp = 4,
  kCommandAbout = 5,
  kCommandCardJournal = 50,
};

extern HMENU g_languageMenu;

void BuildMenuBar();
void RebuildMenuBar();
