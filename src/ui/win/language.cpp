// Loads and saves the language choice in appconfig.ini and switches the running program over.
// The file's first line decides; whatever follows it is kept when the line is rewritten.
#include "ui/win/language.h"

#include <cstdio>
#include <string>

#include "base/win/handles.h"
#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/language_config.h"
#include "ui/ui_text.h"
#include "ui/win/app_window.h"
#include "ui/win/form_controls.h"
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

namespace {

// The buttons and check boxes with UiText captions, in the order they are relabelled.
constexpr int kCaptionedButtons[] = {kIdSearch,         kIdWrite,          kIdRead,         kIdClear,
                                     kIdWriteCyclically, kIdClearCyclically, kIdGenerateRandom, kIdAddToList,
                                     kIdShowList,       kIdGenerateUnique,  kIdShowKey,      kIdGenerateBeforeWrite};

void RelabelRow(int row) { SetWindowTextA(g_formControls[row], UiText.*kFormControls[row].uiCaption); }

// Relabels the rows of one class and style that carry a UiText caption, in table order.
void RelabelRowsOf(const char* className, uint32_t style) {
  for (int row = 0; row < kFormControlCount; ++row) {
    const FormControlRow& control = kFormControls[row];
    if (control.uiCaption && control.className == className && control.style == style) RelabelRow(row);
  }
}

void RefillComboBox(int id, const UiTextEntry* items, int count) {
  HWND combo = GetDlgItem(g_mainWindow, id);
  const int selection = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
  FillComboBox(combo, items, count, selection);
}

}  // namespace

void RelabelForm() {
  SelectUiText();
  SetWindowTextA(g_mainWindow, UiText.windowTitle);
  RelabelRowsOf(kClassButton, kStyleGroupBox);
  RelabelRowsOf(kClassStatic, kStyleStatic);
  RefillComboBox(kIdCardType, kCardTypeItems, kCardTypeItemCount);
  RefillComboBox(kIdWorkMode, kWorkModeItems, kWorkModeItemCount);
  for (int id : kCaptionedButtons) RelabelRow(FormRowOfId(id));
  RelabelRowsOf(kClassButton, kStyleRadio);
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
