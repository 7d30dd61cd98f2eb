// UiText: the captions and messages of the active language, and the language setting they follow.
// Portable core: both languages are built in; SelectUiText points every entry at one of them.
#pragma once

#include <cstdint>

enum Language : int { kRussian = 0, kEnglish = 1 };

struct UiTextTable {
#define UI_TEXT(name, english, russian) const char* name;
#include "ui/ui_text_table.inc"
#undef UI_TEXT
};

// The language setting: Russian unless appconfig.ini says English.
extern Language g_language;
// The active texts; valid after the first SelectUiText.
extern UiTextTable UiText;
// Language id of the yes/no questions: 0 (neutral) in Russian, 9 (English) in English.
extern uint16_t g_messageBoxLanguage;

// Points every UiText entry at the texts of g_language and sets the message-box language.
void SelectUiText();
// The full table of one language, for whoever must compare against it.
const UiTextTable& UiTextOf(Language language);
// How many entries the table holds.
constexpr int kUiTextEntryCount = sizeof(UiTextTable) / sizeof(const char*);

// Texts that read the same in both languages (bytes are Windows-1251 where not ASCII).
extern const char kRussianLanguageName[];
extern const char kEnglishLanguageName[];
