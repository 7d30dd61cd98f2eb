// Loads and saves the language choice in appconfig.ini and switches the running program over.
// The file's first line decides; whatever follows it is kept when the line is rewritten.
#include "ui/win/language.h"

#include <cstdio>
#include <string>

#include "base/win/handles.h"
#include "ui/language_config.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/menu_bar.h"
#include "ui/win/message_box.h"

void LoadLanguage() {
  FILE* file = std::fopen(kLanguageConfigFile, "rb");
  if (file == nullptr) {
    g_language = kRussian;
    // Made only where there is none: a file that another program holds, or that may not be read,
    // keeps every line it has.
    const OwnedHandle created(CreateFileA(kLanguageConfigFile, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!created.Valid()) return;
    const std::string line = LanguageConfigLine(kRussian);
    DWORD written = 0;
    WriteFile(created.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  // Only the first line counts, and it holds at most 79 characters.
  char buffer[256];
  const size_t n = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  g_language = LanguageFromConfig(std::string_view(buffer, n));
}

void SaveLanguage() {
  // A line that could not be written or flushed is reported as a file that could not be opened:
  // the next start would not find the language chosen. The flush is its own step because not
  // every C runtime reports a failed flush from fclose.
  FILE* file = std::fopen(kLanguageConfigFile, "r+b");
  bool saved = file != nullptr;
  if (saved) {
    const std::string line = LanguageConfigLine(g_language);
    saved = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fflush(file) == 0;
    saved = std::fclose(file) == 0 && saved;
  }
  if (!saved) Report(UiText.msgSaveSettingsFailed, kMessageWarning);
}

void OnLanguageCommand(int commandId) {
  const bool english = commandId == kCommandEnglish;
  g_language = english ? kEnglish : kRussian;
  SaveLanguage();
  SelectUiText();
  RelabelForm();
  RebuildMenuBar();
}
