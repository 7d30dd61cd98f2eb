// The data files under real faults: the working folder on a full and on a read-only file system
// while the keys are added and removed, a unique code is generated and the language switched, and
// the key files and usersData.data held open by another process with every sharing mode. Each
// fault is reported with the program's own messages, no file is lost or half written, and a list
// that could not be read again offers no row to act on.
#include <cstdio>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "form_expectations.h"
#include "key_list_scenario.h"
#include "linux_side.h"
#include "protocol/user_codes.h"
#include "ui/ui_text.h"
#include "ui/win/menu_bar.h"

namespace {

const char kEnglishConfig[] = "Language = EN;\r\n";
const char kRussianConfig[] = "Language = RU;\r\n";

std::string WithCode(const char* message, DWORD code) {
  char text[256];
  snprintf(text, sizeof text, "%s\nGetLastError=%08lX", message, static_cast<unsigned long>(code));
  return text;
}

// usersData.data of 369 codes: 4094 bytes, so the next record runs past the file's last page.
std::string UsersDataOfAPage() {
  UsersDataScan scan;
  std::string file;
  for (uint64_t code = 1; code <= 369; ++code) {
    char text[12];
    const size_t n = UsersDataAppendText(scan, code * 0x10001, text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
  return file;
}

class FileFaults : public KeyListScenario {
 protected:
  void Seed() {
    std::string list;
    for (int i = 0; i < 20; ++i) {
      list += "OI=0 LL=0 DI=0 SB=0 WM=1 SN=01 BN=0 M_KEY=0000000000" + std::to_string(10 + i) +
              " Description=Door " + std::to_string(i) + "\n";
    }
    WriteFile("crkeys.data", EncryptKeyList(list));
    WriteFile("zipkeys.data", ReadFile("crkeys.data"));
    WriteFile("usersData.data", UsersDataOfAPage());
    WriteFile("appconfig.ini", kEnglishConfig);
    for (const char* name : {"crkeys.data", "zipkeys.data", "usersData.data"}) seeded_.push_back(ReadFile(name));
  }

  // The stored files are as seeded and no plain key file or temporary is left.
  void ExpectNothingLost(const std::string& step) {
    const char* names[] = {"crkeys.data", "zipkeys.data", "usersData.data"};
    for (size_t i = 0; i < seeded_.size(); ++i) EXPECT_EQ(ReadFile(names[i]), seeded_[i]) << step << ": " << names[i];
    for (const char* name : {"keys.data", "TmpKeys.data", "TmpCrKeys.data"}) {
      EXPECT_FALSE(FileExists(name)) << step << ": " << name << " left";
    }
  }

  // The boxes that come, each answered with OK, compared with the expected ones: each of those is
  // waited for as long as a busy machine may need, then a further box for a second. A late report
  // of the start-up search that found no reader is answered but is not one of them.
  void ExpectBoxes(const std::vector<std::string>& expected) {
    const UiTextTable& english = UiTextOf(kEnglish);
    std::vector<std::string> texts;
    ui::MessageBoxView box;
    while (ui::WaitMessageBox(pid(), texts.size() < expected.size() ? kEventWaitMs : 1000, &box, keyloomExe_)) {
      if (box.text != english.msgNoComPorts && box.text != english.msgTarnelNotFound &&
          box.text != english.msgSelectPortHint) {
        texts.push_back(box.text);
      }
      if (!ui::PressDialogButton(box.window, IDOK)) break;
    }
    EXPECT_EQ(texts, expected);
  }

  // "Show Key" pressed twice reads the list again and leaves its keys masked.
  void ReadAgain(HWND keys) {
    for (int i = 0; i < 2; ++i) ui::SendCommand(keys, kIdKeysShowKey, BN_CLICKED);
    EXPECT_EQ(Rows(keys).size(), 20u);
  }

  // Record 1 taken and removed, the question answered with Yes.
  void Remove(HWND keys) { ASSERT_TRUE(ui::PressDialogButton(AskRemoval(keys, 1).window, IDYES)); }

  std::vector<std::string> seeded_;
};

// A fault of the whole folder and what each operation must show under it.
struct FolderFault {
  const char* name;
  bool readOnly;
  std::string decryption;              // the box of every decryption of the list
  std::vector<std::string> generate;   // "Generate unique", which leaves the data as it was
  std::vector<std::string> language;   // the switch to Russian
  const char* configAfter;
};

void PrintTo(const FolderFault& fault, std::ostream* out) { *out << fault.name; }

class FolderFaults : public FileFaults, public ::testing::WithParamInterface<FolderFault> {};

// The disk is full: the plain list cannot be written, so nothing is stored; the language line is
// rewritten in place and needs no room; the next record would need a new page and is taken back
// whole. Read-only: nothing can be created or opened for writing.
const FolderFault kFolderFaults[] = {
    {"Full",
     false,
     shown::CryptoErrorBox(shown::kCryptoWrite, ERROR_DISK_FULL),
     {WithCode(UiTextOf(kEnglish).msgUsersDataWriteError, ERROR_DISK_FULL)},
     {},
     kRussianConfig},
    {"ReadOnly",
     true,
     shown::CryptoErrorBox(shown::kCryptoOpenDestination, ERROR_ACCESS_DENIED),
     {UiTextOf(kEnglish).msgUsersDataOpenError},
     {UiTextOf(kEnglish).msgSaveSettingsFailed},
     kEnglishConfig},
};

TEST_P(FolderFaults, EveryOperationIsReportedAndNothingIsLost) {
  const FolderFault& fault = GetParam();
  TinyFolder folder(workDir_);
  if (!folder.mounted) GTEST_SKIP() << "no file system can be mounted here: " << folder.why;
  Seed();
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  WaitUntilIdle(main);
  ChooseView(main, 1, 1);
  const std::string dataBefore = ui::Text(ui::Control(main, kIdDataEdit));
  HWND keys = OpenKeys(main, kIdShowList, 20);
  ASSERT_NE(keys, nullptr);
  ASSERT_TRUE(fault.readOnly ? folder.MakeReadOnly() : folder.Fill()) << folder.why;

  Remove(keys);
  ExpectBoxes({fault.decryption});
  EXPECT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
  ExpectNothingLost("Remove");

  // The list cannot be read here: "Add to list" opens the window with none, and "Add new" can
  // neither add to it nor read it again.
  WaitUntilIdle(main);
  ui::PostCommand(main, kIdAddToList);
  ExpectBoxes({fault.decryption});
  keys = ui::WaitTopWindow(pid(), kKeysWindowClass, kEventWaitMs);
  ASSERT_NE(keys, nullptr);
  ui::WaitForMessageLoop(keys);
  EXPECT_TRUE(Rows(keys).empty());
  Press(keys, kIdKeysAddNew);
  ExpectBoxes({fault.decryption, fault.decryption});
  ExpectNothingLost("Add new");
  Press(keys, kIdKeysCancel);
  EXPECT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));

  WaitUntilIdle(main);
  ui::PostCommand(main, kIdGenerateUnique);
  ExpectBoxes(fault.generate);
  EXPECT_EQ(ui::Text(ui::Control(main, kIdDataEdit)), dataBefore) << "a code was handed out that is not recorded";
  ExpectNothingLost("Generate unique");

  ui::PostCommand(main, kCommandRussian);
  ExpectBoxes(fault.language);
  EXPECT_EQ(ReadFile("appconfig.ini"), fault.configAfter);
}

INSTANTIATE_TEST_SUITE_P(Folder, FolderFaults, ::testing::ValuesIn(kFolderFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// Another process holds a file open with a sharing mode while Keyloom needs it.
struct ShareMode {
  const char* name;
  DWORD mode;
};

const ShareMode kShareModes[] = {
    {"none", 0},
    {"read", FILE_SHARE_READ},
    {"write", FILE_SHARE_WRITE},
    {"delete", FILE_SHARE_DELETE},
    {"read write", FILE_SHARE_READ | FILE_SHARE_WRITE},
    {"read write delete", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
};

// Keyloom opens every data file without sharing, so any handle on it, whatever it shares, keeps
// it out: the list is neither read nor stored, and no code is generated from an unchecked file.
TEST_F(FileFaults, FilesHeldOpenByAnotherProcess) {
  Seed();
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  WaitUntilIdle(main);
  ChooseView(main, 1, 1);
  HWND keys = OpenKeys(main, kIdShowList, 20);
  ASSERT_NE(keys, nullptr);
  SetWindowTextA(ui::Control(keys, kIdKeysDescriptionEdit), "Gate");
  const std::string sourceBusy = shown::CryptoErrorBox(shown::kCryptoOpenSource, ERROR_SHARING_VIOLATION);
  const std::string destinationBusy = shown::CryptoErrorBox(shown::kCryptoOpenDestination, ERROR_SHARING_VIOLATION);
  const std::string keysStay = WithCode(UiTextOf(kEnglish).msgKeysFileDeleteError, ERROR_SHARING_VIOLATION);
  const std::string listGone = UiTextOf(kEnglish).msgKeysListNotRead;
  for (const ShareMode& share : kShareModes) {
    SCOPED_TRACE(share.name);
    // crkeys.data: "Add new" cannot decrypt it, nor can the refresh after it, whose rows go.
    HANDLE held = CreateFileA(PathOf("crkeys.data").c_str(), GENERIC_READ, share.mode, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Press(keys, kIdKeysAddNew);
    ExpectBoxes({sourceBusy, sourceBusy, listGone});
    CloseHandle(held);
    ExpectNothingLost("crkeys.data held");
    ReadAgain(keys);

    // keys.data, made by the other process: the plain list cannot be written; the file goes when
    // its holder lets it be deleted, and its remaining is reported when not.
    held = CreateFileA(PathOf("keys.data").c_str(), GENERIC_READ | GENERIC_WRITE, share.mode, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Press(keys, kIdKeysAddNew);
    if (share.mode & FILE_SHARE_DELETE) {
      ExpectBoxes({destinationBusy, destinationBusy, listGone});
    } else {
      ExpectBoxes({keysStay, destinationBusy, keysStay, destinationBusy, listGone});
    }
    CloseHandle(held);
    DeleteFileA(PathOf("keys.data").c_str());
    ExpectNothingLost("keys.data held");
    ReadAgain(keys);
  }
  Press(keys, kIdKeysCancel);
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
  WaitUntilIdle(main);

  const std::string dataBefore = ui::Text(ui::Control(main, kIdDataEdit));
  for (const ShareMode& share : kShareModes) {
    SCOPED_TRACE(share.name);
    // usersData.data: "Generate unique" reports the file it could not open and hands out no code.
    HANDLE held = CreateFileA(PathOf("usersData.data").c_str(), GENERIC_READ, share.mode, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ui::PostCommand(main, kIdGenerateUnique);
    ExpectBoxes({UiTextOf(kEnglish).msgUsersDataOpenError});
    CloseHandle(held);
    ExpectNothingLost("usersData.data held");
    EXPECT_EQ(ui::Text(ui::Control(main, kIdDataEdit)), dataBefore);
  }
}

// A removal renumbers the records after it. Another program (a virus scanner, a backup tool) that
// takes crkeys.data the moment it is stored keeps the list from being read again: rows left on
// screen would name other records, so the list is emptied, Use This Key and Remove are disabled,
// and a box says so. The spare copy is held too, so that the store stops at its report before
// the list is read again, and the scanner comes in then.
TEST_F(FileFaults, AListThatCannotBeReadAfterARemovalOffersNoRow) {
  Seed();
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  WaitUntilIdle(main);
  HWND keys = OpenKeys(main, kIdShowList, 20);
  ASSERT_NE(keys, nullptr);
  HANDLE spare = CreateFileA(PathOf("zipkeys.data").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(spare, INVALID_HANDLE_VALUE);
  Remove(keys);
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
  EXPECT_EQ(box.text.rfind(UiTextOf(kEnglish).msgZipKeysCopyError, 0), 0u) << box.text;
  HANDLE scanner = CreateFileA(PathOf("crkeys.data").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
  // The list's refresh, then record 0's for the edits.
  const std::string sourceBusy = shown::CryptoErrorBox(shown::kCryptoOpenSource, ERROR_SHARING_VIOLATION);
  ExpectBoxes({sourceBusy, UiTextOf(kEnglish).msgKeysListNotRead, sourceBusy});
  CloseHandle(scanner);
  CloseHandle(spare);
  ui::WaitForMessageLoop(keys);
  EXPECT_TRUE(Rows(keys).empty());
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, kIdKeysUseThisKey)));
  EXPECT_FALSE(ui::Enabled(ui::Control(keys, kIdKeysRemove)));

  // Read again, the list shows the stored one: record 1 is gone and "Door 2" is the new record 1.
  ui::SendCommand(keys, kIdKeysShowKey, BN_CLICKED);
  const auto rows = Rows(keys);
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows[1][0], "0001");
  EXPECT_EQ(rows[1][5], "Door 2");
  std::string list;
  ASSERT_TRUE(DecryptKeyList(ReadFile("crkeys.data"), &list));
  EXPECT_EQ(list.find("Door 1\n"), std::string::npos);
  EXPECT_FALSE(FileExists("keys.data"));
}

}  // namespace
