// The keys list window of the real program: adding the form's key with a description, the
// duplicate notice, Show Key, double-click, Use This Key, Remove, and the stored files after each.
#include <string>
#include <vector>

#include "form_expectations.h"
#include "key_list_scenario.h"
#include "ui/win/message_box.h"
#include "yes_no_question.h"

#include <commctrl.h>

namespace {

const std::string kMasked(17, '*');
const std::vector<std::string> kRecordZero = {"0000", "0", "01", "0", kMasked, "Factory key"};

LRESULT Checked(HWND window, int id) { return SendMessageA(ui::Control(window, id), BM_GETCHECK, 0, 0); }
LRESULT Selected(HWND window, int id) { return SendMessageA(ui::Control(window, id), CB_GETCURSEL, 0, 0); }
std::string TextOf(HWND window, int id) { return ui::Text(ui::Control(window, id)); }

class KeysWindowScenario : public KeyListScenario {
 protected:
  // The program started in English on the key list of a new installation, its search over.
  HWND StartOnShippedKeys(bool english = true) {
    InstallShippedKeys();
    return StartReady(english);
  }

  // The form of the example line: Wiegand 44, inverse, static, poll off, mode 3, sector 5, block 2.
  void SetExampleSettings(HWND main) {
    ChooseView(main, 0, 3);
    for (int id : {kIdInterfaceWiegand44, kIdIndicationInverse, kIdStandbyStatic, kIdTouchPollOff}) {
      ClickRadio(main, id);
    }
    for (int i = 0; i < 4; ++i) ui::ClickUpDownArrow(ui::Control(main, kIdSectorUpDown), true);
    for (int i = 0; i < 2; ++i) ui::ClickUpDownArrow(ui::Control(main, kIdBlockUpDown), true);
  }

  // "Add new" with the given key (standing in for the form's key) and description; done once the
  // row is there or a box tells why not.
  void AddNew(HWND keys, const std::string& key, const std::string& description) {
    const size_t before = Rows(keys).size();
    for (const auto& [id, text] : {std::pair{kIdKeysKeyEdit, key}, std::pair{kIdKeysDescriptionEdit, description}}) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(ui::Control(keys, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    Press(keys, kIdKeysAddNew);
    EXPECT_TRUE(Eventually([&] { return Rows(keys).size() != before || !ui::TopWindows(pid(), "#32770").empty(); }));
  }

  // Presses an enabled button that opens no box, and returns once its work is done.
  void PressNow(HWND keys, int id) {
    ASSERT_TRUE(ui::Enabled(ui::Control(keys, id))) << "button " << id << " is disabled";
    ui::SendCommand(keys, id, BN_CLICKED);
  }

  void Close(HWND keys) {
    Press(keys, kIdKeysCancel);
    ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
  }
};

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
    // Record 0 holds twelve F digits: the spaced edit text matches it.
    {"FF FF FF FF FF FF", "Factory key", "[0000] Key already exit at the list.", {}},
};

TEST_F(KeysWindowScenario, AddNewAppendsOnceAndRefusesADuplicate) {
  HWND main = StartOnShippedKeys();
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  EXPECT_FALSE(ui::Enabled(main));
  EXPECT_EQ(ui::Text(keys), "Keys");
  EXPECT_EQ(TextOf(keys, kIdKeysKeyEdit), "00 00 00 00 00 00");
  EXPECT_EQ(TextOf(keys, kIdKeysDescriptionEdit), "Key Description");
  ui::ListViewView view;
  ASSERT_TRUE(ui::ReadListView(ui::Control(keys, kIdKeysList), &view));
  EXPECT_EQ(view.headers, (std::vector<std::string>{"No.", "WM", "SN", "BN", "Key", "Description"}));
  ASSERT_EQ(view.rows, KeyRows{kRecordZero});
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, kIdKeysUseThisKey)));
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, kIdKeysRemove)));

  for (const AddStep& step : kAddSteps) {
    SCOPED_TRACE(step.description);
    const size_t before = Rows(keys).size();
    const std::string stored = ReadFile("crkeys.data");
    AddNew(keys, step.key, step.description);
    if (step.notice == nullptr) {
      ASSERT_TRUE(WaitRows(keys, before + 1));
      EXPECT_EQ(Rows(keys).back(), step.row);
      EXPECT_NE(ReadFile("crkeys.data"), stored);
    } else {
      // The notice names the listed record; nothing changes.
      ui::MessageBoxView box = ExpectMessageBox();
      EXPECT_EQ(box.text, step.notice);
      EXPECT_EQ(box.caption, "Message");
      EXPECT_EQ(box.iconId, kMessageError);
      EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
      EXPECT_EQ(Rows(keys).size(), before);
      EXPECT_EQ(ReadFile("crkeys.data"), stored);
    }
    ExpectStoredFilesClean();
  }
  Close(keys);
  EXPECT_TRUE(ui::Enabled(main));
}

TEST_F(KeysWindowScenario, ShowKeyDoubleClickAndUseThisKey) {
  HWND main = StartOnShippedKeys();
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  AddNew(keys, "A1 B2 C3 D4 E5 F6", "Gate A");
  ASSERT_TRUE(WaitRows(keys, 2));

  // Show Key: the edit and the Key column in clear, then masked again.
  HWND keyEdit = ui::Control(keys, kIdKeysKeyEdit);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  PressNow(keys, kIdKeysShowKey);
  EXPECT_EQ(Checked(keys, kIdKeysShowKey), BST_CHECKED);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), 0);
  KeyRows rows = Rows(keys);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][4], "FF FF FF FF FF FF");
  EXPECT_EQ(rows[1][4], "A1 B2 C3 D4 E5 F6");
  PressNow(keys, kIdKeysShowKey);
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(Rows(keys)[1][4], kMasked);

  // A double-click shows the record in the edits.
  ClickRow(keys, 0, true);
  EXPECT_TRUE(Eventually([&] { return ui::Text(keyEdit) == "FF FF FF FF FF FF"; })) << ui::Text(keyEdit);
  EXPECT_EQ(TextOf(keys, kIdKeysDescriptionEdit), "Factory key");
  ExpectStoredFilesClean();

  // Use This Key puts record 1 on a form that shows other settings, and closes the window.
  ClickRow(keys, 1);
  EXPECT_TRUE(ui::Enabled(ui::Control(keys, kIdKeysUseThisKey)));
  EXPECT_TRUE(ui::Enabled(ui::Control(keys, kIdKeysRemove)));
  Close(keys);
  ChooseView(main, 1, 1);
  for (int id : {kIdInterfaceTouchMemory, kIdIndicationDirect, kIdStandbyDynamic, kIdTouchPollOn}) ClickRadio(main, id);
  keys = OpenKeys(main, kIdShowList);
  ASSERT_NE(keys, nullptr);
  ClickRow(keys, 1);
  Press(keys, kIdKeysUseThisKey);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
  for (int id = kIdInterfaceTouchMemory; id <= kIdTouchPollOff; ++id) {
    const bool expected = id == kIdInterfaceWiegand44 || id == kIdIndicationInverse || id == kIdStandbyStatic ||
                          id == kIdTouchPollOff;
    EXPECT_EQ(Checked(main, id), expected ? BST_CHECKED : BST_UNCHECKED) << "radio " << id;
  }
  EXPECT_EQ(Selected(main, kIdCardType), 1);
  EXPECT_EQ(Selected(main, kIdWorkMode), 3);
  EXPECT_EQ(TextOf(main, kIdSectorEdit), "5");
  EXPECT_EQ(TextOf(main, kIdBlockEdit), "2");
  EXPECT_EQ(TextOf(main, kIdKeyEdit), "A1 B2 C3 D4 E5 F6");
  EXPECT_TRUE(ui::Enabled(main));
  ExpectStoredFilesClean();
}

// Record 0 has work mode 0; on a master card that is view 0, whose reset clears sector, block
// and key: the record's values still end up on the form.
TEST_F(KeysWindowScenario, UseThisKeyAfterTheResetOfViewZero) {
  HWND main = StartOnShippedKeys();
  ASSERT_NE(main, nullptr);
  SetExampleSettings(main);
  HWND keys = OpenKeys(main, kIdShowList);
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(TextOf(keys, kIdKeysKeyEdit), "FF FF FF FF FF FF");
  // Without a row taken, Use This Key stays disabled and the window open.
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, kIdKeysUseThisKey)));
  ClickRow(keys, 0);
  Press(keys, kIdKeysUseThisKey);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
  EXPECT_EQ(Selected(main, kIdWorkMode), 0);
  EXPECT_EQ(TextOf(main, kIdSectorEdit), "1");
  EXPECT_EQ(TextOf(main, kIdBlockEdit), "0");
  EXPECT_EQ(TextOf(main, kIdKeyEdit), "FF FF FF FF FF FF");
  for (int id : {kIdInterfaceTouchMemory, kIdIndicationDirect, kIdStandbyDynamic, kIdTouchPollOn}) {
    EXPECT_EQ(Checked(main, id), BST_CHECKED) << "radio " << id;
  }
}

TEST_F(KeysWindowScenario, RemoveAsksRenumbersAndSparesRecordZero) {
  HWND main = StartOnShippedKeys();
  ASSERT_NE(main, nullptr);
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  for (const char* description : {"one", "two", "three"}) AddNew(keys, "11 22 33 44 55 66", description);
  ASSERT_TRUE(WaitRows(keys, 4));

  ui::MessageBoxView box = AskRemoval(keys, 2);
  ExpectQuestion(box, std::string("[0002] ") + shown::kConfirmDeleteKey.english, kEnglish);
  const std::string before = ReadFile("crkeys.data");
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ui::WaitForMessageLoop(keys);
  EXPECT_EQ(ReadFile("crkeys.data"), before);
  EXPECT_EQ(Rows(keys).size(), 4u);

  box = AskRemoval(keys, 2);
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDYES));
  ASSERT_TRUE(WaitRows(keys, 3));
  const KeyRows rows = Rows(keys);
  EXPECT_EQ(rows[1][0], "0001");
  EXPECT_EQ(rows[1][5], "one");
  EXPECT_EQ(rows[2][0], "0002");
  EXPECT_EQ(rows[2][5], "three");
  EXPECT_EQ(TextOf(keys, kIdKeysDescriptionEdit), "Factory key");
  ExpectStoredFilesClean();

  // Record 0 is never removed: no question, no change.
  const std::string three = ReadFile("crkeys.data");
  ClickRow(keys, 0);
  PressNow(keys, kIdKeysRemove);
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
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(Rows(keys), KeyRows{kRecordZero});
  AddNew(keys, "0A 1B 2C 3D 4E 5F", "Gate A");
  ASSERT_TRUE(WaitRows(keys, 3));
  EXPECT_EQ(Rows(keys), (KeyRows{kRecordZero,
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
  HWND main = StartOnShippedKeys(false);
  ASSERT_NE(main, nullptr);
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  AddNew(keys, "11 22 33 44 55 66", "one");
  ASSERT_TRUE(WaitRows(keys, 2));
  const std::string stored = ReadFile("crkeys.data");
  ui::MessageBoxView box = AskRemoval(keys, 1);
  ExpectQuestion(box, std::string("[0001] ") + shown::kConfirmDeleteKey.russian, kRussian);
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ui::WaitForMessageLoop(keys);
  EXPECT_EQ(Rows(keys).size(), 2u);
  EXPECT_EQ(ReadFile("crkeys.data"), stored);
}

TEST_F(KeysWindowScenario, WithoutCrKeysTheDecryptionErrorComesFirstAndTheListIsEmpty) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, kIdShowList);
  // The list's decryption, then record 0's for the edits.
  for (int i = 0; i < 2; ++i) {
    ui::MessageBoxView box = ExpectMessageBox();
    EXPECT_EQ(box.iconId, kMessageError);
    EXPECT_EQ(box.text, shown::CryptoErrorBox(shown::kCryptoOpenSource, ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
  }
  HWND keys = ui::WaitTopWindow(pid(), kKeysWindowClass, kEventWaitMs);
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
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(Rows(keys), KeyRows{kRecordZero});
  AddNew(keys, "11 22 33 44 55 66", "never stored");
  ui::MessageBoxView box = ExpectMessageBox();
  EXPECT_EQ(box.text.rfind("There was a problem with the file crkeys.data!\nThe keys were not recorded!\n"
                           "GetLastError=", 0), 0u) << box.text;
  EXPECT_FALSE(FileExists("keys.data")) << "the plain list is on disk while the box is up";
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
  ui::WaitForMessageLoop(keys);
  CloseHandle(held);
  EXPECT_EQ(ReadFile("crkeys.data"), shipped);
  EXPECT_EQ(Rows(keys), KeyRows{kRecordZero});
  for (const char* name : {"keys.data", "TmpCrKeys.data", "zipkeys.data"}) EXPECT_FALSE(FileExists(name)) << name;
}

// A run that ended abruptly can leave the plain list behind: opening the keys list window
// removes it, and so does the end of the program.
TEST_F(KeysWindowScenario, LeftoverPlainKeyFilesGoAtOpeningAndAtTheEnd) {
  HWND main = StartOnShippedKeys();
  ASSERT_NE(main, nullptr);
  const std::string leftover = "OI=0 LL=0 DI=0 SB=0 WM=0 SN=01 BN=0 M_KEY=A1A2A3A4A5A6 Description=left\n";
  const char* const plainFiles[] = {"keys.data", "TmpKeys.data"};
  for (const char* name : plainFiles) WriteFile(name, leftover);
  HWND keys = OpenKeys(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(Rows(keys), KeyRows{kRecordZero});
  for (const char* name : plainFiles) EXPECT_FALSE(FileExists(name)) << name << " at the opening";
  Close(keys);

  for (const char* name : plainFiles) WriteFile(name, leftover);
  ASSERT_TRUE(CloseMain(main));
  for (const char* name : plainFiles) EXPECT_FALSE(FileExists(name)) << name << " at the end";
}

}  // namespace
