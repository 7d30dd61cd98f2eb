// The key files under Wine's real CryptoAPI: encrypted sizes and round trips, the error box of
// a missing source, storing the list over crkeys.data, removing a line through TmpKeys.data.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "keystore/key_files.h"
#include "keystore/key_line.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_list_file.h"
#include "keystore/win/key_store.h"
#include "message_box_catcher.h"
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
  MessageBoxCatcher boxes_;
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

TEST_F(KeyStoreFiles, MissingSourceShowsTheSourceStepWithFileNotFound) {
  EXPECT_FALSE(DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase));
  EXPECT_FALSE(Exists(kKeysFile));
  char expected[256];
  FormatCryptoError(kStepOpenSource, ERROR_FILE_NOT_FOUND, expected, sizeof expected);
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], expected);
  EXPECT_NE(texts[0].find("0x00000002."), std::string::npos);
}

TEST_F(KeyStoreFiles, DamagedCipherLeavesNoPlainFile) {
  Spill(kCrKeysFile, Pattern(100));  // not a multiple of the block
  EXPECT_FALSE(DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase));
  EXPECT_FALSE(Exists(kKeysFile));
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 1u);
  char expected[256];
  FormatCryptoError(kStepDecrypt, 0, expected, sizeof expected);
  EXPECT_EQ(texts[0].substr(0, texts[0].find('\n')),
            std::string(expected).substr(0, std::string(expected).find('\n')));
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

TEST_F(KeyStoreFiles, FailedStoreKeepsTheOldList) {
  Spill(kKeysFile, Line(0));
  const std::string old = Pattern(48);
  Spill(kCrKeysFile, old);
  Spill(kZipKeysFile, old);
  HANDLE held = CreateFileA(kCrKeysFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(StoreEncryptedKeys());
  CloseHandle(held);
  EXPECT_EQ(Slurp(kCrKeysFile), old);
  EXPECT_EQ(Slurp(kZipKeysFile), old);
  EXPECT_FALSE(Exists(kTmpCrKeysFile));
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind(UiText.msgCrKeysFileProblem, 0), 0u) << texts[0];
  EXPECT_NE(texts[0].find("GetLastError="), std::string::npos);
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

TEST_F(KeyStoreFiles, RemoveKeyLineWithoutKeysFile) {
  EXPECT_FALSE(RemoveKeyLine(1));
  const auto texts = boxes_.Take();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], UiText.msgKeysFileNotFound);
  EXPECT_FALSE(Exists(kTmpKeysFile));
}

}  // namespace
