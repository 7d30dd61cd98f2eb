// The keys list window of the real program: adding the form's key with a description, the
// duplicate notice, Show Key, double-click, Use This Key, Remove, and the stored files after each.
#include <string>
#include <vector>

#include "form_expectations.h"
#include "harness.h"
#include "key_list_crypto.h"
#include "yes_no_question.h"

#include <commctrl.h>

namespace {

const char kKeysClass[] = "my Child Window";
const std::string kMasked(17, '*');

void SetText(HWND control, const std::string& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
}

class KeysWindowScenario : public KeyloomScenario {
 protected:
  // Opens the window with "Add to list" (21) or "Show list" (22) and waits until it is complete.
  HWND Open(HWND main, int button) {
    ui::PostCommand(main, button);
    HWND keys = ui::WaitTopWindow(pid(), kKeysClass, kEventWaitMs);
    EXPECT_NE(keys, nullptr) << "the keys list window did not open";
    if (keys != nullptr) ui::WaitForMessageLoop(keys);
    return keys;
  }

  std::vector<std::vector<std::string>> Rows(HWND keys) {
    ui::ListViewView view;
    EXPECT_TRUE(ui::ReadListView(ui::Control(keys, 43), &view));
    return view.rows;
  }

  // Waits until the list shows count rows; the rows then.
  std::vector<std::vector<std::string>> RowsOnceThere(HWND keys, size_t count) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 100; ++i) {
      rows = Rows(keys);
      if (rows.size() == count) break;
      ui::Pause(50);
    }
    return rows;
  }

  // Clicks or double-clicks a row as the mouse does, and waits until it is selected.
  void ClickRow(HWND keys, int row, bool twice) {
    HWND list = ui::Control(keys, 43);
    ASSERT_TRUE(ui::ClickListRow(list, row, twice));
    EXPECT_TRUE(Eventually([&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; }))
        << "row " << row << " was not selected";
    ui::WaitForMessageLoop(keys);
  }

  // Presses a button of the keys window as a user could; what it leads to is for the caller to
  // wait for.
  void Press(HWND keys, int id) {
    ASSERT_TRUE(ui::Enabled(ui::Control(keys, id))) << "button " << id << " is disabled";
    ui::PostCommand(keys, id, BN_CLICKED);
  }
  // Presses a button that opens no box, and returns once its work is done.
  void PressNow(HWND keys, int id) {
    ASSERT_TRUE(ui::Enabled(ui::Control(keys, id))) << "button " << id << " is disabled";
    ui::SendCommand(keys, id, BN_CLICKED);
  }

  // The form of the example line: Wiegand 44, inverse, static, poll off, mode 3, sector 5, block 2.
  void SetExampleSettings(HWND main) {
    ChooseView(main, 0, 3);
    for (int id : {27, 29, 31, 34}) ClickRadio(main, id);
    for (int i = 0; i < 4; ++i) ui::ClickUpDownArrow(ui::Control(main, 15), true);
    for (int i = 0; i < 2; ++i) ui::ClickUpDownArrow(ui::Control(main, 17), true);
  }

  // "Add new" with the given key (standing in for the form's key) and description.
  void AddNew(HWND keys, const std::string& key, const std::string& description) {
    const size_t before = Rows(keys).size();
    SetText(ui::Control(keys, 39), key);
    SetText(ui::Control(keys, 41), description);
    Press(keys, 42);
    // Done once the row is there or a box tells why not.
    EXPECT_TRUE(Eventually([&] { return Rows(keys).size() != before || !ui::TopWindows(pid(), "#32770").empty(); }, 5000));
  }

  void ExpectStoredFilesClean() {
    EXPECT_EQ(ReadFile("crkeys.data"), ReadFile("zipkeys.data"));
    EXPECT_FALSE(FileExists("keys.data"));
    EXPECT_FALSE(FileExists("TmpCrKeys.data"));
    EXPECT_FALSE(FileExists("TmpKeys.data"));
  }
};

const std::vector<std::string> kRecordZero = {"0000", "0", "01", "0", kMasked, "Factory key"};

// "Add new" one step after another on the example form: the row it appends, or the duplicate
// notice when the key and description are listed already.
struct AddStep {
  const char* key;
  const char* description;
  const char* notice;  // nullptr: the key is appended as `row`
  std::vector<std::string> row;
};

const AddStep kAddSteps[] = {
    {"0A 1B 2C 3D 4E 5F", "Gate A", nullptr, {"0001", "3", "05", "2", kMasked, "Gate A"}},
    {"0A 1B 2C 3D 4E 5F", "Gate B", nullptr, {"0002", "3", "05", "2", kMasked, "Gate B"}},
    {"0A 1B 2C 3D 4E 5F", "Gate B", "[0002] Key already exit at the list.", {}},
    // Record 0 holds twelve zeros: the spaced edit text matches it.
    {"FF FF FF FF FF FF", "Factory key", "[0000] Key already exit at the list.", {}},
};

TEST_F(KeysWindowScenario, AddNewAppendsOnceAndRefusesADuplicate) {
  InstallShippedKeys();
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  EXPECT_FALSE(ui::Enabled(main));
  EXPECT_EQ(ui::Text(keys), "Keys");
  EXPECT_EQ(ui::Text(ui::Control(keys, 39)), "00 00 00 00 00 00");
  EXPECT_EQ(ui::Text(ui::Control(keys, 41)), "Key Description");
  ui::ListViewView view;
  ASSERT_TRUE(ui::ReadListView(ui::Control(keys, 43), &view));
  EXPECT_EQ(view.headers, (std::vector<std::string>{"No.", "WM", "SN", "BN", "Key", "Description"}));
  ASSERT_EQ(view.rows, (std::vector<std::vector<std::string>>{kRecordZero}));
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, 44)));
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, 45)));

  for (const AddStep& step : kAddSteps) {
    SCOPED_TRACE(step.description);
    const size_t before = Rows(keys).size();
    const std::string stored = ReadFile("crkeys.data");
    AddNew(keys, step.key, step.description);
    if (step.notice == nullptr) {
      const auto rows = RowsOnceThere(keys, before + 1);
      ASSERT_EQ(rows.size(), before + 1);
      EXPECT_EQ(rows.back(), step.row);
      EXPECT_NE(ReadFile("crkeys.data"), stored);
    } else {
      // The notice names the listed record; nothing changes.
      ui::MessageBoxView box = ExpectMessageBox();
      EXPECT_EQ(box.text, step.notice);
      EXPECT_EQ(box.caption, "Message");
      EXPECT_EQ(box.iconId, 5);
      EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
      EXPECT_EQ(Rows(keys).size(), before);
      EXPECT_EQ(ReadFile("crkeys.data"), stored);
    }
    ExpectStoredFilesClean();
  }

  Press(keys, 46);
  EXPECT_TRUE(ui::WaitNoTopWindow(pid(), kKeysClass, kEventWaitMs));
  EXPECT_TRUE(ui::Enabled(main));
}

TEST_F(KeysWindowScenario, ShowKeyDoubleClickAndUseThisKey) {
  InstallShippedKeys();
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  AddNew(keys, "A1 B2 C3 D4 E5 F6", "Gate A");
  ASSERT_EQ(RowsOnceThere(keys, 2).size(), 2u);

  // Show Key: the edit and the Key column in clear, then masked again.
  HWND keyEdit = ui::Control(keys, 39);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  PressNow(keys, 40);
  EXPECT_EQ(SendMessageA(ui::Control(keys, 40), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), 0);
  auto rows = Rows(keys);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][4], "FF FF FF FF FF FF");
  EXPECT_EQ(rows[1][4], "A1 B2 C3 D4 E5 F6");
  PressNow(keys, 40);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(Rows(keys)[1][4], kMasked);

  // A double-click shows the record in the edits.
  ClickRow(keys, 0, true);
  EXPECT_TRUE(Eventually([&] { return ui::Text(keyEdit) == "FF FF FF FF FF FF"; })) << ui::Text(keyEdit);
  EXPECT_EQ(ui::Text(ui::Control(keys, 41)), "Factory key");
  ExpectStoredFilesClean();

  // Use This Key puts record 1 on a form that shows other settings, and closes the window.
  ClickRow(keys, 1, false);
  EXPECT_TRUE(ui::Enabled(ui::Control(keys, 44)));
  EXPECT_TRUE(ui::Enabled(ui::Control(keys, 45)));
  Press(keys, 46);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysClass, kEventWaitMs));
  ChooseView(main, 1, 1);
  for (int id : {25, 28, 30, 33}) ClickRadio(main, id);
  keys = Open(main, 22);
  ASSERT_NE(keys, nullptr);
  ClickRow(keys, 1, false);
  Press(keys, 44);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysClass, kEventWaitMs));
  for (int id = 25; id <= 34; ++id) {
    const bool expected = id == 27 || id == 29 || id == 31 || id == 34;
    EXPECT_EQ(SendMessageA(ui::Control(main, id), BM_GETCHECK, 0, 0), expected ? BST_CHECKED : BST_UNCHECKED)
        << "radio " << id;
  }
  EXPECT_EQ(SendMessageA(ui::Control(main, 8), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageA(ui::Control(main, 14), CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(ui::Text(ui::Control(main, 16)), "5");
  EXPECT_EQ(ui::Text(ui::Control(main, 18)), "2");
  EXPECT_EQ(ui::Text(ui::Control(main, 37)), "A1 B2 C3 D4 E5 F6");
  EXPECT_TRUE(ui::Enabled(main));
  ExpectStoredFilesClean();
}

// Record 0 has work mode 0; on a master card that is view 0, whose reset clears sector, block
// and key: the record's values still end up on the form.
TEST_F(KeysWindowScenario, UseThisKeyAfterTheResetOfViewZero) {
  InstallShippedKeys();
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = Open(main, 22);
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(ui::Text(ui::Control(keys, 39)), "FF FF FF FF FF FF");
  // Without a row taken, Use This Key stays disabled and the window open.
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, 44)));
  ClickRow(keys, 0, false);
  Press(keys, 44);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysClass, kEventWaitMs));
  EXPECT_EQ(SendMessageA(ui::Control(main, 14), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ui::Text(ui::Control(main, 16)), "1");
  EXPECT_EQ(ui::Text(ui::Control(main, 18)), "0");
  EXPECT_EQ(ui::Text(ui::Control(main, 37)), "FF FF FF FF FF FF");
  for (int id : {25, 28, 30, 33}) EXPECT_EQ(SendMessageA(ui::Control(main, id), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(KeysWindowScenario, RemoveAsksRenumbersAndSparesRecordZero) {
  InstallShippedKeys();
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  for (const char* description : {"one", "two", "three"}) AddNew(keys, "11 22 33 44 55 66", description);
  ASSERT_EQ(RowsOnceThere(keys, 4).size(), 4u);

  ClickRow(keys, 2, false);
  Press(keys, 45);
  ui::MessageBoxView box = ExpectMessageBox();
  ExpectQuestion(box, std::string("[0002] ") + shown::kConfirmDeleteKey.english, kEnglish);
  const std::string before = ReadFile("crkeys.data");
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ui::WaitForMessageLoop(keys);
  EXPECT_EQ(ReadFile("crkeys.data"), before);
  EXPECT_EQ(Rows(keys).size(), 4u);

  ClickRow(keys, 2, false);
  Press(keys, 45);
  box = ExpectMessageBox();
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDYES));
  auto rows = RowsOnceThere(keys, 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][0], "0001");
  EXPECT_EQ(rows[1][5], "one");
  EXPECT_EQ(rows[2][0], "0002");
  EXPECT_EQ(rows[2][5], "three");
  EXPECT_EQ(ui::Text(ui::Control(keys, 41)), "Factory key");
  ExpectStoredFilesClean();

  // Record 0 is never removed: no question, no change.
  const std::string three = ReadFile("crkeys.data");
  ClickRow(keys, 0, false);
  PressNow(keys, 45);
  ExpectNoBox();
  EXPECT_EQ(Rows(keys).size(), 3u);
  EXPECT_EQ(ReadFile("crkeys.data"), three);
}

// A list whose last line lost its line end (in a hand edit, say): the new record starts on a line
// of its own, in its own row with its key masked, and that last line becomes a record of its own.
TEST_F(KeysWindowScenario, AddNewAfterALastLineWithoutItsLineEnd) {
  const std::string first = "OI=0 LL=0 DI=0 SB=0 WM=0 SN=01 BN=0 M_KEY=FFFFFFFFFFFF Description=Factory key\n";
  const std::string last = "OI=0 LL=0 DI=0 SB=0 WM=2 SN=04 BN=1 M_KEY=0102030405A6 Description=Back door";
  WriteFile("crkeys.data", EncryptKeyList(first + last));
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(Rows(keys), (std::vector<std::vector<std::string>>{kRecordZero}));
  AddNew(keys, "0A 1B 2C 3D 4E 5F", "Gate A");
  const auto rows = RowsOnceThere(keys, 3);
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{kRecordZero,
                                                         {"0001", "2", "04", "1", kMasked, "Back door"},
                                                         {"0002", "0", "01", "0", kMasked, "Gate A"}}));
  for (const char* name : {"crkeys.data", "zipkeys.data"}) {
    std::string list;
    ASSERT_TRUE(DecryptKeyList(ReadFile(name), &list)) << name;
    EXPECT_EQ(list, first + last + "\nOI=0 LL=0 DI=2 SB=0 WM=0 SN=01 BN=0 M_KEY=0A1B2C3D4E5F Description=Gate A\n")
        << name;
  }
  ExpectStoredFilesClean();
}

// In Russian the question and its buttons are Russian; No keeps the key.
TEST_F(KeysWindowScenario, RemoveAsksInRussian) {
  InstallShippedKeys();
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  AddNew(keys, "11 22 33 44 55 66", "one");
  ASSERT_EQ(RowsOnceThere(keys, 2).size(), 2u);
  const std::string stored = ReadFile("crkeys.data");
  ClickRow(keys, 1, false);
  Press(keys, 45);
  ui::MessageBoxView box = ExpectMessageBox();
  ExpectQuestion(box, std::string("[0001] ") + shown::kConfirmDeleteKey.russian, kRussian);
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ui::WaitForMessageLoop(keys);
  EXPECT_EQ(Rows(keys).size(), 2u);
  EXPECT_EQ(ReadFile("crkeys.data"), stored);
}

TEST_F(KeysWindowScenario, WithoutCrKeysTheDecryptionErrorComesFirstAndTheListIsEmpty) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, 22);
  // The list's decryption, then record 0's for the edits.
  for (int i = 0; i < 2; ++i) {
    ui::MessageBoxView box = ExpectMessageBox();
    EXPECT_EQ(box.iconId, 5);
    EXPECT_NE(box.text.find("0x00000002."), std::string::npos) << box.text;
    EXPECT_EQ(box.text.find("GetLastError"), std::string::npos);
    EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
  }
  HWND keys = ui::WaitTopWindow(pid(), kKeysClass, kEventWaitMs);
  ASSERT_NE(keys, nullptr);
  EXPECT_TRUE(Rows(keys).empty());
  EXPECT_FALSE(FileExists("keys.data"));
  EXPECT_FALSE(FileExists("crkeys.data"));
}

// crkeys.data held by another process that lets it be read and written but not deleted or
// replaced: the keys are not recorded and crkeys.data stays as it was.
TEST_F(KeysWindowScenario, AFailedStoreLeavesCrKeysAsItWas) {
  InstallShippedKeys();
  const std::string shipped = ReadFile("crkeys.data");
  HANDLE held = CreateFileA(PathOf("crkeys.data").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(Rows(keys), (std::vector<std::vector<std::string>>{kRecordZero}));
  AddNew(keys, "11 22 33 44 55 66", "never stored");
  ui::MessageBoxView box = ExpectMessageBox();
  EXPECT_EQ(box.text.rfind("There was a problem with the file crkeys.data!\nThe keys were not recorded!\n"
                           "GetLastError=",
                           0),
            0u)
      << box.text;
  EXPECT_FALSE(FileExists("keys.data")) << "the plain list is on disk while the box is up";
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
  ui::WaitForMessageLoop(keys);
  CloseHandle(held);
  EXPECT_EQ(ReadFile("crkeys.data"), shipped);
  EXPECT_EQ(Rows(keys), (std::vector<std::vector<std::string>>{kRecordZero}));
  EXPECT_FALSE(FileExists("keys.data"));
  EXPECT_FALSE(FileExists("TmpCrKeys.data"));
  EXPECT_FALSE(FileExists("zipkeys.data"));
}

// A run that ended abruptly can leave the plain list behind: opening the keys list window
// removes it, and so does the end of the program.
TEST_F(KeysWindowScenario, LeftoverPlainKeyFilesGoAtOpeningAndAtTheEnd) {
  InstallShippedKeys();
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  const std::string leftover = "OI=0 LL=0 DI=0 SB=0 WM=0 SN=01 BN=0 M_KEY=A1A2A3A4A5A6 Description=left\n";
  const char* const plainFiles[] = {"keys.data", "TmpKeys.data"};
  for (const char* name : plainFiles) WriteFile(name, leftover);
  HWND keys = Open(main, 21);
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(Rows(keys), (std::vector<std::vector<std::string>>{kRecordZero}));
  for (const char* name : plainFiles) EXPECT_FALSE(FileExists(name)) << name << " at the opening";
  Press(keys, 46);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysClass, kEventWaitMs));

  for (const char* name : plainFiles) WriteFile(name, leftover);
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(ui::WaitExit(&program(), 10000, nullptr));
  for (const char* name : plainFiles) EXPECT_FALSE(FileExists(name)) << name << " at the end";
}

}  // namespace
