// The main form: everything the main window shows inside its frame, built once at start-up,
// and the two up-downs that set the sector and block numbers.
#pragma once

#include <windows.h>

// Attaches the menu bar and creates the controls the first view shows, with their initial
// contents, in that view: all the window needs before it is first shown.
void BuildMainForm();
// Creates the controls the first view hides, hidden, with their initial contents; called once
// the main window is shown, before any message is handled.
void CompleteMainForm();
// WM_NOTIFY of the main window: keeps FormState's sector and block numbers in step with the
// up-downs (15 and 17); other notifications are left alone.
void OnUpDownDelta(WPARAM id, LPARAM notification);
