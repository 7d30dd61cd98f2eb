// The stored key list and the keys list window as the scenarios drive them: crkeys.data and
// zipkeys.data encrypted and decrypted whole under the program's pass phrase, and the window's rows and buttons.
#pragma once

#include <string>
#include <vector>

#include "harness.h"
#include "keystore/win/keys_window.h"
#include "ui/control_ids.h"

// False when the bytes do not decrypt whole, as a cut or damaged file does not.
bool DecryptKeyList(const std::string& encrypted, std::string* plain);
std::string EncryptKeyList(const std::string& plain);

using KeyRows = std::vector<std::vector<std::string>>;

class KeyListScenario : public KeyloomScenario {
 protected:
  // Opens the keys list window with a button of the main form and waits until it is complete and,
  // when rows is given, shows that many rows.
  HWND OpenKeys(HWND main, int button = kIdShowList, int rows = -1);
  KeyRows Rows(HWND keys);
  // Waits until the list has count rows, counting them only: reading hundreds at every look is slow.
  bool WaitRows(HWND keys, size_t count);
  // Clicks or double-clicks a row as the mouse does, and waits until it is selected.
  void ClickRow(HWND keys, int row, bool twice = false);
  // Presses a button as a user could: only an enabled one. What it leads to is for the caller to wait for.
  void Press(HWND keys, int id);
  // Takes a row and presses "Remove"; the question, once it is there. A late report of the start-up
  // search that found no reader is answered on the way.
  ui::MessageBoxView AskRemoval(HWND keys, int row);
  // crkeys.data and zipkeys.data hold the same list, and no plain or temporary key file is left.
  void ExpectStoredFilesClean();
};
