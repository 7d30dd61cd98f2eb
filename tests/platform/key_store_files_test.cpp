// The key files under Wine's real CryptoAPI: encrypted sizes and round trips, the error box of
// a missing source, storing the list over crkeys.data, removing a line through TmpKeys.data,
// and no plain key file left on disk by a failure, not even while its box is up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "keystore/key_files.h"
#include "keystore/key_line.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_list_file.h"
#include "keystore/win/key_store.h"
#include "message_box_catcher.h"
#include "ui/form_state.h"
#include "ui/ui_text.h"

namespace {

std::string Slurp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Spill(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

bool Exists(const char* name) {
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

// Opened without sharing: no one else can open, replace or delete the file until it is closed.
HANDLE Hold(const char* name) {
  return CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
}

const std::set<std::string> kNoFiles;

std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  return bytes;
}

std::string Line(int number) {
  KeyLineSettings settings;
  settings.sector = number + 1;
  char line[kKeyLineBufferSize];
  const std::string description = "record " + std::to_string(number);
  return std::string(line, ComposeKeyLine(settings, "A0A1A2A3A4A5", description.c_str(), line));
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
    for (const char* name : {kKeysFile, kTmpKeysFile, kCrKeysFile, kZipKeysFile, kTmpCrKeysFile,
                             "plain", "cipher", "back"}) {
      DeleteFileA(name);
    }
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(dir_.c_str());
  }

  std::string dir_;
  char previous_[MAX_PATH] = {};
  MessageBoxCatcher boxes_{{kKeysFile, kTmpKeysFile, "back"}};
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
    ASSERT_TRUE(EncryptKeyFile("plain", "cipher", kKeyFilePassPhrase)) << c.plain;
    EXPECT_EQ(Slurp("cipher").size(), c.cipher) << c.plain;
    ASSERT_TRUE(DecryptKeyFile("cipher", "back", kKeyFilePassPhrase)) << c.plain;
    EXPECT_EQ(Slurp("back"), plain) << c.plain;
  }
  EXPECT_TRUE(boxes_.Take().empty());
}

// The plain files of an earlier operation are gone before the box, though the decryption
// never came as far as its output.
TEST_F(KeyStoreFiles, MissingSourceShowsTheSourceStepAndLeavesNoPlainFile) {
  Spill(kKeysFile, Line(0));
  Spill(kTmpKeysFile, Line(0));
  EXPECT_FALSE(RefreshKeysList());
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_FALSE(Exists(kTmpKeysFile));
  EXPECT_EQ(boxes_.TakeFilesSeen(), kNoFiles);
  char expected[256];
  FormatCryptoError(kStepOpenSource, ERROR_FILE_NOT_FOUND, expected, sizeof expected);
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], expected);
  EXPECT_NE(texts[0].find("0x00000002."), std::string::npos);
}

// The first 960 bytes decrypt and are written; the cut block after them fails: the half
// written output is gone before the box shows, into keys.data or any other file.
TEST_F(KeyStoreFiles, DamagedCipherLeavesNoPlainFile) {
  Spill("plain", Pattern(2000));
  ASSERT_TRUE(EncryptKeyFile("plain", kCrKeysFile, kKeyFilePassPhrase));
  Spill(kCrKeysFile, Slurp(kCrKeysFile).substr(0, 1000));
  char expected[256];
  FormatCryptoError(kStepDecrypt, 0, expected, sizeof expected);
  const std::string step = std::string(expected).substr(0, std::string(expected).find('\n'));
  for (const char* destination : {kKeysFile, "back"}) {
    EXPECT_FALSE(DecryptKeyFile(kCrKeysFile, destination, kKeyFilePassPhrase)) << destination;
    EXPECT_FALSE(Exists(destination)) << destination;
    EXPECT_EQ(boxes_.TakeFilesSeen(), kNoFiles) << destination;
    const auto texts = boxes_.Take();
    ASSERT_EQ(texts.size(), 1u) << destination;
    EXPECT_EQ(texts[0].substr(0, texts[0].find('\n')), step) << destination;
  }
}

TEST_F(KeyStoreFiles, StoreReplacesCrKeysAndItsSpareCopy) {
  Spill(kKeysFile, Line(0) + Line(1));
  Spill(kCrKeysFile, "old");
  ASSERT_TRUE(StoreEncryptedKeys());
  EXPECT_EQ(Slurp(kZipKeysFile), Slurp(kCrKeysFile));
  EXPECT_FALSE(Exists(kTmpCrKeysFile));
  EXPECT_TRUE(Exists(kKeysFile));
  ASSERT_TRUE(DecryptKeyFile(kCrKeysFile, "back", kKeyFilePassPhrase));
  EXPECT_EQ(Slurp("back"), Line(0) + Line(1));
  EXPECT_TRUE(boxes_.Take().empty());
}

// A store that fails keeps the old list, and the plain list is gone before the first box.
TEST_F(KeyStoreFiles, FailedStoreKeepsTheOldListAndNoPlainFile) {
  char openDestination[256];
  FormatCryptoError(kStepOpenDestination, ERROR_SHARING_VIOLATION, openDestination,
                    sizeof openDestination);
  const struct {
    const char* held;
    std::vector<std::string> boxes;
  } cases[] = {
      {kCrKeysFile,  // a file open elsewhere cannot be replaced
       {std::string(UiText.msgCrKeysFileProblem) + "\nGetLastError=00000005"}},
      {kTmpCrKeysFile,
       {openDestination, std::string(UiText.msgEncryptionFailed) + "\nGetLastError=00000020"}},
  };
  const std::string old = Pattern(48);
  for (const auto& c : cases) {
    Spill(kKeysFile, Line(0));
    Spill(kCrKeysFile, old);
    Spill(kZipKeysFile, old);
    HANDLE held = Hold(c.held);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(StoreEncryptedKeys()) << c.held;
    CloseHandle(held);
    EXPECT_EQ(Exists(kTmpCrKeysFile), c.held == kTmpCrKeysFile) << c.held;
    DeleteFileA(kTmpCrKeysFile);
    EXPECT_EQ(Slurp(kCrKeysFile), old) << c.held;
    EXPECT_EQ(Slurp(kZipKeysFile), old) << c.held;
    EXPECT_FALSE(Exists(kKeysFile)) << c.held;
    EXPECT_EQ(boxes_.TakeFilesSeen(), kNoFiles) << c.held;
    EXPECT_EQ(boxes_.Take(), c.boxes) << c.held;
  }
}

// The list is stored though its spare copy cannot be replaced, being open elsewhere; that is
// reported, and the copy made for it is not left behind.
TEST_F(KeyStoreFiles, AFailedSpareCopyIsReported) {
  Spill(kKeysFile, Line(0));
  Spill(kZipKeysFile, "old");
  HANDLE held = Hold(kZipKeysFile);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(StoreEncryptedKeys());
  CloseHandle(held);
  EXPECT_EQ(Slurp(kZipKeysFile), "old");
  EXPECT_FALSE(Exists(kTmpCrKeysFile));
  ASSERT_TRUE(DecryptKeyFile(kCrKeysFile, "back", kKeyFilePassPhrase));
  EXPECT_EQ(Slurp("back"), Line(0));
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_EQ(boxes_.TakeFilesSeen(), kNoFiles);
  EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{std::string(UiText.msgZipKeysCopyError) +
                                                     "\nGetLastError=00000005"}));
}

TEST_F(KeyStoreFiles, FailedEncryptionShowsTwoBoxesAndKeepsTheOldList) {
  Spill(kCrKeysFile, "old list");
  EXPECT_FALSE(StoreEncryptedKeys());  // no keys.data to encrypt
  EXPECT_EQ(Slurp(kCrKeysFile), "old list");
  EXPECT_FALSE(Exists(kTmpCrKeysFile));
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 2u);
  char expected[256];
  FormatCryptoError(kStepOpenSource, ERROR_FILE_NOT_FOUND, expected, sizeof expected);
  EXPECT_EQ(texts[0], expected);
  EXPECT_EQ(texts[1], std::string(UiText.msgEncryptionFailed) + "\nGetLastError=00000002");
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
    ASSERT_TRUE(RemoveKeyLine(c.remove)) << c.remove;
    EXPECT_EQ(Slurp(kKeysFile), c.expected) << c.remove;
    EXPECT_FALSE(Exists(kTmpKeysFile));
  }
  EXPECT_TRUE(boxes_.Take().empty());
}

// "Use This Key" after the list was shown with its keys masked, as the keys window shows it at
// first. A line without its key takes over the key of the line before it: the form shows that key,
// and the next frame carries its bytes, never those of the stars the row showed.
TEST_F(KeyStoreFiles, UseThisKeyPutsTheRecordsOwnKeyOnTheForm) {
  Spill(kKeysFile,
        "OI=0 LL=0 DI=0 SB=0 WM=1 SN=01 BN=0 M_KEY=A1B2C3D4E5F6 Description=first\n"
        "OI=1 LL=0 DI=0 SB=0 WM=1 SN=02 BN=1 Description=without a key\n"
        "OI=0 LL=0 DI=0 SB=0 WM=1 SN=03 BN=0 M_KEY=0F1E2D3C4B5A Description=third\n");
  ASSERT_TRUE(StoreEncryptedKeys());
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
    ASSERT_TRUE(RefreshKeysList()) << c.record;
    ASSERT_TRUE(UseKeyRecord(c.record)) << c.record;
    EXPECT_STREQ(g_form.systemKeyText, c.text) << c.record;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_form.systemKey), 6),
              std::string(reinterpret_cast<const char*>(c.key), 6))
        << c.record;
  }
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_TRUE(boxes_.Take().empty());
}

// A TmpKeys.data left by an earlier run goes with the failure.
TEST_F(KeyStoreFiles, RemoveKeyLineWithoutKeysFile) {
  Spill(kTmpKeysFile, Line(0));
  EXPECT_FALSE(RemoveKeyLine(1));
  EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{UiText.msgKeysFileNotFound}));
  EXPECT_FALSE(Exists(kTmpKeysFile));
  EXPECT_EQ(boxes_.TakeFilesSeen(), kNoFiles);
}

// TmpKeys.data held by another program: it can neither be made nor deleted. keys.data is gone
// before the first box, and the one that stays is reported first.
TEST_F(KeyStoreFiles, APlainKeyFileThatCannotBeDeletedIsReported) {
  Spill(kKeysFile, Line(0) + Line(1));
  HANDLE held = Hold(kTmpKeysFile);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(RemoveKeyLine(1));
  const std::set<std::string> seen = boxes_.TakeFilesSeen();
  const auto texts = boxes_.Take();
  CloseHandle(held);
  EXPECT_FALSE(Exists(kKeysFile));
  EXPECT_EQ(seen, (std::set<std::string>{kTmpKeysFile}));
  EXPECT_EQ(texts, (std::vector<std::string>{std::string(UiText.msgTmpKeysFileDeleteError) +
                                                 "\nGetLastError=00000020",
                                             UiText.msgTempFileCreateError}));
}

}  // namespace
