// The main window's menus in the active language (the menu bar, rebuilt after a language switch,
// and the right click's "Quit"), and the small commands behind them: the guide and About.
#pragma once

#include <windows.h>

#include "ui/control_ids.h"

// The help document, relative to the working directory.
inline constexpr char kHelpFilePath[] = "help\\Keyloom ver_1_01.pdf";
// About dialog templates: one per language.
inline constexpr int kAboutDialogRussian = 1;
inline constexpr int kAboutDialogEnglish = 2;

void BuildMenuBar();
void RebuildMenuBar();
// WM_RBUTTONUP over the main window's client area: the "Quit" menu at the click point.
void ShowQuitMenu(LPARAM clickPoint);

// Help: hands the help document to the shell, reporting why it could not be opened.
void OnHelpCommand();
// About: the dialog in the active language, modal over the main window.
void OnAboutCommand();
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
