// Loads and saves the language choice in appconfig.ini and switches the running program over.
// The file's first line decides; whatever follows it is kept when the line is rewritten.
#include "ui/win/language.h"

#include <cstdio>
#include <string>

#include "app/win/app.h"
#include "app/win/message_box.h"
#include "ui/language_config.h"
#include "ui/ui_text.h"
#include "ui/win/menu_bar.h"

void LoadLanguage() {
  FILE* file = std::fopen(kLanguageConfigFile, "rb");
  if (file == nullptr) {
    g_language = kRussian;
    file = std::fopen(kLanguageConfigFile, "wb");
    if (file == nullptr) return;
    const std::string line = LanguageConfigLine(kRussian);
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
    return;
  }
  // Only the first line counts, and it holds at most 79 characters.
  char buffer[256];
  const size_t n = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  g_language = LanguageFromConfig(std::string_view(buffer, n));
}

void SaveLanguage() {
  FILE* file = std::fopen(kLanguageConfigFile, "r+b");
  if (file == nullptr) {
    Report(UiText.msgSaveSettingsFailed, kMessageWarning);
    return;
  }
  const std::string line = LanguageConfigLine(g_language);
  std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
}

void RelabelForm() {
  SelectUiText();
  SetWindowTextA(g_mainWindow, UiText.windowTitle);
}

void OnLanguageCommand(int commandId) {
  const bool english = commandId == kCommandEnglish;
  CheckMenuItem(g_languageMenu, english ? kCommandEnglish : kCommandRussian, MF_BYCOMMAND | MF_CHECKED);
  CheckMenuItem(g_languageMenu, english ? kCommandRussian : kCommandEnglish, MF_BYCOMMAND | MF_UNCHECKED);
  g_language = english ? kEnglish : kRussian;
  SaveLanguage();
  RelabelForm();
  RebuildMenuBar();
}
