// The keys list window: a second top-level window, modal by disabling the main window, that
// lists the stored keys and adds, shows, takes back onto the form and removes them.
#pragma once

#include "keystore/win/key_store.h"

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
// The window while it is open, else null.
HWND KeysWindowHandle();

// The main form's buttons "Add to list" and "Show list".
void OnAddToList();
void OnShowList();

// Shows the key store's reports in order, each a box of kind error owned by the keys list window,
// or by no window while it is not open (at start and at the end of the program).
void ShowKeyStoreReports(const KeyStoreReports& reports);
