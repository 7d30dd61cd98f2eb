// The keys list window: a second top-level window, modal by disabling the main window, that
// lists the stored keys and adds, shows, takes back onto the form and removes them.
#pragma once

#include <windows.h>

#include "keystore/key_line.h"

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

// Creates, fills and shows the window; false when it could not be created.
bool OpenKeysWindow();
// The window, owner of the key store's boxes; null while it is not open.
HWND KeysWindowHandle();
// What the key list tells the window: the state of "Show Key", the texts of the key and
// description edits, the record shown in them, and the rows of the list. BeginKeysRows empties
// the list and holds its redraw, AppendKeysRow adds the row of a record with its key as shown
// (spaced or masked), and EndKeysRows redraws the list once.
bool KeysShowKeyChecked();
void ReadKeysEdits(char* key, int keySize, char* description, int descriptionSize);
void ShowInKeysEdits(const char* key, const char* description);
void BeginKeysRows();
void AppendKeysRow(const KeyRecord& record, const char* shownKey);
void EndKeysRows();
// Shows record 0 in the two edits.
void ShowFirstKey();

// The main form's buttons "Add to list" and "Show list".
void OnAddToList();
void OnShowList();
