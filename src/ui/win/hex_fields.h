// The system key and sector data edits while the user types into them, and the "Show Key" box.
// The main window passes the key and data edits' notifications and the "Show Key" command here.
#pragma once

#include <windows.h>

// WM_COMMAND from the key or data edit: entering, typing into and leaving the field.
void OnHexFieldCommand(int editId, int notification);
// "Show Key": toggles the box and masks or reveals the key edit.
void OnShowKeyCommand();
// Shows a key edit's text as stars, or in clear.
void MaskKeyEdit(HWND edit, bool masked);
