// The system key and sector data edits while the user types into them, and the "Show Key" box.
#pragma once

// WM_COMMAND from edit 37 or 38: entering, typing into and leaving the field.
void OnHexFieldCommand(int editId, int notification);
// Command 19: toggles "Show Key" and masks or reveals the key edit.
void OnShowKeyCommand();
