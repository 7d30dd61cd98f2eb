// The UiText tables: every entry present in both languages, Russian in Windows-1251 bytes,
// and SelectUiText following the language setting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/ui_text.h"

namespace {

const char* Entry(const UiTextTable& table, int i) {
  return reinterpret_cast<const char* const*>(&table)[i];
}

bool IsAscii(const char* s) {
  for (; *s; ++s) {
    if (static_cast<unsigned char>(*s) > 0x7F) return false;
  }
  return true;
}

TEST(UiText, EveryEntryIsPresentInBothLanguages) {
  ASSERT_EQ(kUiTextEntryCount, 124);
  const UiTextTable& en = UiTextOf(kEnglish);
  const UiTextTable& ru = UiTextOf(kRussian);
  for (int i = 0; i < kUiTextEntryCount; ++i) {
    ASSERT_NE(Entry(en, i), nullptr) << i;
    ASSERT_NE(Entry(ru, i), nullptr) << i;
    EXPECT_GT(std::strlen(Entry(en, i)), 0u) << i;
    EXPECT_GT(std::strlen(Entry(ru, i)), 0u) << i;
    EXPECT_TRUE(IsAscii(Entry(en, i))) << "English entry " << i << " is not ASCII";
  }
}

// Russian texts must be single-byte Windows-1251, never UTF-8.
TEST(UiText, RussianTextsAreWindows1251Bytes) {
  const UiTextTable& ru = UiTextOf(kRussian);
  struct Expected {
    const char* text;
    std::string bytes;
  } cases[] = {
      {ru.menuFile, "\xD4\xE0\xE9\xEB"},                                // Файл
      {ru.windowTitle, "Keyloom \xE2\xE5\xF0.1.01 (x64)"},              // вер.
      {ru.messageCaption, "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5"},      // Сообщение
      {ru.columnNumber, "\xB9"},                                        // №
      {kRussianLanguageName, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9"},           // Русский
  };
  for (const Expected& c : cases) EXPECT_EQ(std::string(c.text), c.bytes);
  for (int i = 0; i < kUiTextEntryCount; ++i) {
    const std::string text = Entry(ru, i);
    EXPECT_EQ(text.find("\xD0\x9F"), std::string::npos) << "UTF-8 left in entry " << i;
  }
}

// Blanks around captions, escapes and literal backslashes come through as written.
TEST(UiText, TextsKeepBlanksEscapesAndBackslashes) {
  const UiTextTable& en = UiTextOf(kEnglish);
  EXPECT_STREQ(en.groupSettings, " Settings ");
  EXPECT_STREQ(en.labelProgrammerPort, "Programmer port: ");
  EXPECT_STREQ(en.msgConnectionBroken, "Connection broken.\n\r(Tarnel disabled!)");
  EXPECT_STREQ(en.msgUsersDataOpenError,
               "Error opening file usersData.data!\n\rCheck file availability.\n\r"
               "Default: C:\\Keyloom ver_1_01\\");
  EXPECT_STREQ(en.radioDirect, "Direct (active '1')");
}

TEST(UiText, SelectFollowsTheLanguageSetting) {
  g_language = kEnglish;
  SelectUiText();
  EXPECT_STREQ(UiText.windowTitle, "Keyloom ver.1.01 (x64)");
  EXPECT_EQ(g_messageBoxLanguage, 9);
  g_language = kRussian;
  SelectUiText();
  EXPECT_STREQ(UiText.menuQuit, UiTextOf(kRussian).menuQuit);
  EXPECT_EQ(g_messageBoxLanguage, 0);
}

}  // namespace
