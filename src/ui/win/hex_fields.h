// The system key and sector data edits while the user types into them, and the "Show Key" box.
// The main window passes the edits' notifications (ids 37, 38) and command 19 here.
#pragma once

// WM_COMMAND from edit 37 or 38: entering, typing into and leaving the field.
void OnHexFieldCommand(int editId, int notification);
// Command 19: toggles "Show Key" and masks or reveals the key edit.
void OnShowKeyCommand();
