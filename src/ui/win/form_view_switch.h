// Switches the main form between its views when the card type or work mode changes, and keeps
// the controls that follow "Generate unique data before write" in step with that box.
#pragma once

#include <windows.h>

// Resets the fields of a view code and applies its view; codes without a view change nothing.
void ApplyView(unsigned code);
// The start-up view (master card, "Send card ID") without the field reset, on the controls
// built so far.
void ApplyStartView();
// A work mode put on the form from a card read or a stored key: the view of the card type shown
// with that mode (its field reset included), then the mode selected in its list.
void ShowWorkMode(int workMode);
// WM_COMMAND of the card type (8) and work mode (14) combo boxes; acts on CBN_SELCHANGE only.
void OnViewComboCommand(WPARAM wParam);
// Enables the data, converter and "Write cyclically" controls as the user card data view does
// for the current check of box 24.
void ApplyGenerateBeforeWriteRule();
