// The small commands of the main window: the help document, the About dialog in the active
// language, and the one-item "Quit" menu of a right click.
#pragma once

#include <windows.h>

// The help document, relative to the working directory.
inline constexpr char kHelpFilePath[] = "help\\Keyloom ver_1_01.pdf";
// About dialog templates: one per language.
inline constexpr int kAboutDialogRussian = 1;
inline constexpr int kAboutDialogEnglish = 2;

// Command 4: hands the help document to the shell, reporting why it could not be opened.
void OnHelpCommand();
// Command 5: the About dialog, modal over the main window.
void OnAboutCommand();
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// WM_RBUTTONUP over the main window's client area: the "Quit" menu at the click point.
void ShowQuitMenu(LPARAM clickPoint);
