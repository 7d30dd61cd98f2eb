// The main form: everything the main window shows inside its frame, built once at start-up,
// and the two up-downs that set the sector and block numbers.
#pragma once

#include <windows.h>

// Attaches the menu bar, creates the form's controls with their initial contents and shows
// the first view.
void BuildMainForm();
// WM_NOTIFY of the main window: keeps FormState's sector and block numbers in step with the
// up-downs (15 and 17); other notifications are left alone.
void OnUpDownDelta(WPARAM id, LPARAM notification);
