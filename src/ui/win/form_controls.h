// The window handles of the main form's controls, one per row of the form table, and named
// accessors for the controls that have no identifier but are needed elsewhere.
#pragma once

#include <windows.h>

#include "ui/form_layout.h"

extern HWND g_formControls[kFormControlCount];

// The static showing the reader's firmware version ("x.xx" until it is known).
inline HWND VersionLabel() { return g_formControls[kRowVersionValue]; }
// The three read-only edits of the card number converter.
inline HWND TouchMemoryEdit() { return g_formControls[kRowTouchMemoryEdit]; }
inline HWND HexNumberEdit() { return g_formControls[kRowHexEdit]; }
inline HWND DecimalNumberEdit() { return g_formControls[kRowDecimalEdit]; }

// Empties a combo box, adds the items in the active language and selects one (or none with -1).
void FillComboBox(HWND combo, const UiTextEntry* items, int count, int selection);
