// The keys list window: a second top-level window, modal by disabling the main window, that
// lists the stored keys and adds, shows, takes back onto the form and removes them.
#pragma once

#include <windows.h>

enum KeysControlId : int {
  kIdKeysKeyEdit = 39,
  kIdKeysShowKey = 40,
  kIdKeysDescriptionEdit = 41,
  kIdKeysAddNew = 42,
  kIdKeysList = 43,
  kIdKeysUseThisKey = 44,
  kIdKeysRemove = 45,
  kIdKeysCancel = 46,
};

inline constexpr char kKeysWindowClass[] = "my Child Window";

extern HWND g_keysWindow;
extern HWND g_keysKeyEdit;
extern HWND g_keysDescriptionEdit;
extern HWND g_keysList;
extern HWND g_keysUseButton;
extern HWND g_keysRemoveButton;
// The record taken by the last click or double-click in the list; -1 for none.
extern int selectedKeyIndex;

// Creates, fills and shows the window; false when it could not be created.
bool OpenKeysWindow();
// Appends the row of g_keyRecord, whose key text is already spaced or masked.
void AppendKeysRow();
// Shows record 0 in the two edits.
void ShowFirstKey();

// The main form's buttons "Add to list" and "Show list".
void OnAddToList();
void OnShowList();
