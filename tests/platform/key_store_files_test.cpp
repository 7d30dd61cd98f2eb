// The key files under Wine's real CryptoAPI: encrypted sizes and round trips, the report of a
// missing source, storing the list over crkeys.data, adding and removing lines, and no plain key
// file left on disk by a failure: the reports are shown only once the operation has returned.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "keystore/win/key_store.h"

namespace {

std::string Slurp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Spill(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

bool Exists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

// Opened without sharing: no one else can open, replace or delete the file until it is closed.
HANDLE Hold(const char* name) { return CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr); }

std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  return bytes;
}

std::string Composed(const KeyLineSettings& settings, const char* key, const std::string& description) {
  char line[kKeyLineBufferSize];
  return std::string(line, ComposeKeyLine(settings, key, description.c_str(), line));
}

std::string Line(int number, const char* key = "A0A1A2A3A4A5") {
  KeyLineSettings settings;
  settings.sector = number + 1;
  return Composed(settings, key, "record " + std::to_string(number));
}

// A report as the keys list window words it: the message with its code, or a conversion's step.
std::string Coded(const char* message, DWORD code) {
  char text[256];
  snprintf(text, sizeof text, "%s\nGetLastError=%08lX", message, code);
  return text;
}
std::string Step(CryptoStep step, DWORD code) {
  return "step " + std::to_string(step) + " code " + std::to_string(code);
}
std::vector<std::string> Described(const KeyStoreReports& reports) {
  std::vector<std::string> texts;
  for (const KeyStoreReport& r : reports) {
    texts.push_back(r.message == nullptr ? Step(r.step, r.code)
                    : r.withCode         ? Coded(UiText.*r.message, r.code)
                                         : UiText.*r.message);
  }
  return texts;
}

// Each test runs in a fresh working directory of its own, in English.
class KeyStoreFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    dir_ = std::string(base) + "keyloom-keys-" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    GetCurrentDirectoryA(sizeof previous_, previous_);
    SetCurrentDirectoryA(dir_.c_str());
    g_language = kEnglish;
    SelectUiText();
  }
  void TearDown() override {
    for (const char* name : {kKeysFile, kTmpKeysFile, kCrKeysFile, kZipKeysFile, kTmpCrKeysFile, "plain", "back"}) {
      DeleteFileA(name);
    }
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(dir_.c_str());
  }

  // Stores the plain list as crkeys.data.
  void StoreList(const std::string& plain) {
    Spill(kKeysFile, plain);
    ASSERT_TRUE(StoreEncryptedKeys(&reports_));
    DeleteFileA(kKeysFile);
  }
  std::string StoredList() {
    KeyStoreReport failure;
    EXPECT_TRUE(DecryptKeyFile(kCrKeysFile, "back", kKeyFilePassPhrase, &failure));
    return Slurp("back");
  }

  std::string dir_;
  char previous_[MAX_PATH] = {};
  KeyStoreReports reports_;
  KeyStoreReport failure_;
};

TEST_F(KeyStoreFiles, EncryptedSizesAndRoundTrips) {
  const struct {
    size_t plain;
    size_t cipher;
  } cases[] = {{0, 16},    {1, 16},    {15, 16},   {16, 32},    {944, 960},
               {959, 960}, {960, 976}, {961, 976}, {1920, 1936}, {5000, 5008}};
  for (const auto& c : cases) {
    const std::string plain = Pattern(c.plain);
    Spill("plain", plain);
    ASSERT_TRUE(EncryptKeyFile("plain", kCrKeysFile, kKeyFilePassPhrase, &failure_)) << c.plain;
    EXPECT_EQ(Slurp(kCrKeysFile).size(), c.cipher) << c.plain;
    EXPECT_EQ(StoredList(), plain) << c.plain;
  }
}

// The plain files of an earlier operation are gone, though the decryption never came as far as
// its output, and the list's rows stay as they were.
TEST_F(KeyStoreFiles, MissingSourceShowsTheSourceStepAndLeavesNoPlainFile) {
  Spill(kKeysFile, Line(0));
  Spill(kTmpKeysFile, Line(0));
  KeyRecordList list;
  EXPECT_FALSE(RefreshKeysList(&list, &reports_));
  EXPECT_FALSE(list.read);
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_FALSE(Exists(kTmpKeysFile));
  EXPECT_EQ(Described(reports_), (std::vector<std::string>{Step(kStepOpenSource, ERROR_FILE_NOT_FOUND)}));
}

// The first 960 bytes decrypt and are written; the cut block after them fails: the half written
// output is gone, from keys.data or any other file.
TEST_F(KeyStoreFiles, DamagedCipherLeavesNoPlainFile) {
  Spill("plain", Pattern(2000));
  ASSERT_TRUE(EncryptKeyFile("plain", kCrKeysFile, kKeyFilePassPhrase, &failure_));
  Spill(kCrKeysFile, Slurp(kCrKeysFile).substr(0, 1000));
  for (const char* destination : {kKeysFile, "back"}) {
    EXPECT_FALSE(DecryptKeyFile(kCrKeysFile, destination, kKeyFilePassPhrase, &failure_)) << destination;
    EXPECT_FALSE(Exists(destination)) << destination;
    EXPECT_EQ(failure_.message, nullptr);
    EXPECT_EQ(failure_.step, kStepDecrypt) << destination;
  }
}

TEST_F(KeyStoreFiles, StoreReplacesCrKeysAndItsSpareCopy) {
  Spill(kKeysFile, Line(0) + Line(1));
  Spill(kCrKeysFile, "old");
  ASSERT_TRUE(StoreEncryptedKeys(&reports_));
  EXPECT_EQ(Slurp(kZipKeysFile), Slurp(kCrKeysFile));
  EXPECT_FALSE(Exists(kTmpCrKeysFile));
  EXPECT_TRUE(Exists(kKeysFile));
  EXPECT_EQ(StoredList(), Line(0) + Line(1));
  EXPECT_TRUE(reports_.empty());
}

// A store that fails keeps the old list, and the plain list is gone before the reports. A list is
// stored though its spare copy cannot be replaced; that is reported, and its copy is not left behind.
// With no keys.data to encrypt, the conversion's step comes first, then that nothing was stored.
TEST_F(KeyStoreFiles, FailedStoresAndSpareCopies) {
  const std::string old = Pattern(48);
  const struct {
    const char* held;  // nullptr: keys.data is missing
    bool stored;
    std::vector<std::string> reports;
  } cases[] = {
      {kCrKeysFile, false, {Coded(UiText.msgCrKeysFileProblem, ERROR_ACCESS_DENIED)}},
      {kTmpCrKeysFile, false,
       {Step(kStepOpenDestination, ERROR_SHARING_VIOLATION), Coded(UiText.msgEncryptionFailed, ERROR_SHARING_VIOLATION)}},
      {nullptr, false, {Step(kStepOpenSource, ERROR_FILE_NOT_FOUND), Coded(UiText.msgEncryptionFailed, ERROR_FILE_NOT_FOUND)}},
      {kZipKeysFile, true, {Coded(UiText.msgZipKeysCopyError, ERROR_ACCESS_DENIED)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.held ? c.held : "no keys.data");
    if (c.held) Spill(kKeysFile, Line(0));
    Spill(kCrKeysFile, old);
    Spill(kZipKeysFile, old);
    HANDLE held = c.held ? Hold(c.held) : nullptr;
    reports_.clear();
    EXPECT_EQ(StoreEncryptedKeys(&reports_), c.stored);
    if (held) CloseHandle(held);
    EXPECT_EQ(Exists(kTmpCrKeysFile), c.held == kTmpCrKeysFile);
    DeleteFileA(kTmpCrKeysFile);
    EXPECT_EQ(c.stored ? StoredList() : Slurp(kCrKeysFile), c.stored ? Line(0) : old);
    EXPECT_EQ(Slurp(kZipKeysFile), old);
    EXPECT_FALSE(Exists(kKeysFile));
    EXPECT_EQ(Described(reports_), c.reports);
  }
}

// Add new over the stored list: the key and description of a line already there give its number
// (the first of two), anything else is appended and stored; no plain file is left either way.
TEST_F(KeyStoreFiles, AddKeyAppendsOrNamesTheListedLine) {
  const std::string list = Line(0) + Line(1, "000000000000") + Line(1, "000000000000");
  const struct {
    const char* key;
    const char* description;
    AddKeyResult result;
    int listedAt;
  } cases[] = {
      {"00 00 00 00 00 00", "record 1", AddKeyResult::kListed, 1},
      {"A0 A1 A2 A3 A4 A5", "record 0", AddKeyResult::kListed, 0},
      {"A0 A1 A2 A3 A4 A5", "record 1", AddKeyResult::kAdded, -1},
  };
  for (const auto& c : cases) {
    StoreList(list);
    int listedAt = -2;
    EXPECT_EQ(AddKey(c.key, c.description, KeyLineSettings{}, &listedAt, &reports_), c.result) << c.description;
    EXPECT_EQ(listedAt, c.listedAt) << c.description;
    const bool added = c.result == AddKeyResult::kAdded;
    EXPECT_EQ(StoredList(), list + (added ? Composed(KeyLineSettings{}, "A0A1A2A3A4A5", c.description) : ""))
        << c.description;
    EXPECT_FALSE(Exists(kKeysFile));
  }
}

TEST_F(KeyStoreFiles, RemoveKeyLineRenumbersTheRest) {
  const std::string five = Line(0) + Line(1) + Line(2) + Line(3) + Line(4);
  const struct {
    int remove;
    std::string tail;
    std::string expected;
  } cases[] = {
      {2, "", Line(0) + Line(1) + Line(3) + Line(4)},
      {0, "", Line(1) + Line(2) + Line(3) + Line(4)},
      {9, "", five},
      {4, "OI=1 incomplete", Line(0) + Line(1) + Line(2) + Line(3)},
  };
  for (const auto& c : cases) {
    Spill(kKeysFile, five + c.tail);
    ASSERT_TRUE(RemoveKeyLine(c.remove, &reports_)) << c.remove;
    EXPECT_EQ(Slurp(kKeysFile), c.expected) << c.remove;
    EXPECT_FALSE(Exists(kTmpKeysFile));
  }
  EXPECT_TRUE(reports_.empty());
}

// "Use This Key" after the list was shown with its keys masked, as the keys window shows it at
// first. A line without its key takes over the key of the line before it: the record holds that
// key, whose bytes the next frame carries, never the stars the row showed.
TEST_F(KeyStoreFiles, UseThisKeyTakesTheRecordsOwnKey) {
  StoreList("OI=0 LL=0 DI=0 SB=0 WM=1 SN=01 BN=0 M_KEY=A1B2C3D4E5F6 Description=first\n"
            "OI=1 LL=0 DI=0 SB=0 WM=1 SN=02 BN=1 Description=without a key\n"
            "OI=0 LL=0 DI=0 SB=0 WM=1 SN=03 BN=0 M_KEY=0F1E2D3C4B5A Description=third\n");
  const struct {
    int record;
    const char* text;
    uint8_t key[6];
  } cases[] = {
      {1, "A1 B2 C3 D4 E5 F6", {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}},
      {2, "0F 1E 2D 3C 4B 5A", {0x0F, 0x1E, 0x2D, 0x3C, 0x4B, 0x5A}},
      {0, "A1 B2 C3 D4 E5 F6", {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}},
  };
  for (const auto& c : cases) {
    KeyRecordList list;
    ASSERT_TRUE(RefreshKeysList(&list, &reports_)) << c.record;
    KeyRecord record;
    ASSERT_TRUE(UseKeyRecord(c.record, &record, &reports_)) << c.record;
    char shown[kSpacedKeyLength + 1];
    ShownKeyText(record, false, shown);
    EXPECT_STREQ(shown, c.text) << c.record;
    uint8_t key[6];
    KeyTextToBytes(shown, key);
    EXPECT_EQ(std::string(key, key + 6), std::string(c.key, c.key + 6)) << c.record;
  }
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_TRUE(reports_.empty());
}

// A TmpKeys.data left by an earlier run goes with the failure. Held by another program, it can
// neither be made nor deleted: keys.data is gone, and the one that stays is reported first.
TEST_F(KeyStoreFiles, RemoveKeyLineFailures) {
  Spill(kTmpKeysFile, Line(0));
  EXPECT_FALSE(RemoveKeyLine(1, &reports_));
  EXPECT_EQ(Described(reports_), (std::vector<std::string>{UiText.msgKeysFileNotFound}));
  EXPECT_FALSE(Exists(kTmpKeysFile));

  reports_.clear();
  Spill(kKeysFile, Line(0) + Line(1));
  HANDLE held = Hold(kTmpKeysFile);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(RemoveKeyLine(1, &reports_));
  EXPECT_TRUE(Exists(kTmpKeysFile));
  CloseHandle(held);
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_EQ(Described(reports_), (std::vector<std::string>{Coded(UiText.msgTmpKeysFileDeleteError, ERROR_SHARING_VIOLATION),
                                                            UiText.msgTempFileCreateError}));
}

}  // namespace
