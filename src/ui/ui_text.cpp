// The two built-in UiText tables, compiled into Windows-1251 bytes, and the switch between them.
// Portable core: the shell reads UiText and never copies a text, so a switch takes effect everywhere.
#include "ui/ui_text.h"

namespace {

const UiTextTable kEnglishTexts = {
#define UI_TEXT(name, english, russian) english,
#include "ui/ui_text_table.inc"
#undef UI_TEXT
};

const UiTextTable kRussianTexts = {
#define UI_TEXT(name, english, russian) russian,
#include "ui/ui_text_table.inc"
#undef UI_TEXT
};

}  // namespace

Language g_language = kRussian;
UiTextTable UiText = kRussianTexts;
uint16_t g_messageBoxLanguage = 0;

const char kRussianLanguageName[] = "Русский";
const char kEnglishLanguageName[] = "English";

const UiTextTable& UiTextOf(Language language) {
  return language == kEnglish ? kEnglishTexts : kRussianTexts;
}

void SelectUiText() {
  UiText = UiTextOf(g_language);
  g_messageBoxLanguage = g_language == kEnglish ? 9 : 0;
}
