// Scenario of a language switch on the main form: every captioned control and both combo boxes
// take the new language in place, and the chosen card type, work mode and view stay.
#include <windows.h>

#include <string>
#include <vector>

#include "form_expectations.h"
#include "harness.h"

namespace {

std::vector<std::string> CardTypes(Language language) {
  return {TextIn(shown::kCardTypeMaster, language), TextIn(shown::kCardTypeUser, language)};
}

std::vector<std::string> WorkModes(Language language) {
  std::vector<std::string> modes;
  for (const ShownText* mode : {&shown::kWorkModeCardId, &shown::kWorkModeSectorData, &shown::kWorkModeCardIdAuth,
                                &shown::kWorkModeSectorDataDecrypt}) {
    modes.push_back(TextIn(*mode, language));
  }
  return modes;
}

void ExpectFormIn(HWND main, Language language, int cardType, int workMode) {
  SCOPED_TRACE(language == kEnglish ? "English" : "Russian");
  const std::vector<HWND> children = FormChildren(main);
  ASSERT_EQ(children.size(), static_cast<size_t>(kExpectedControlCount));
  int captioned = 0;
  for (int i = 0; i < kExpectedControlCount; ++i) {
    const ExpectedControl& row = kExpectedForm[i];
    const std::string className = row.className;
    if (className == "Edit" || className == "Combobox") continue;
    if (row.translated) ++captioned;
    EXPECT_EQ(ui::Text(children[i]), CaptionIn(row, language)) << "row " << i + 1;
  }
  EXPECT_EQ(captioned, 38);
  HWND types = ui::Control(main, kIdCardType);
  HWND modes = ui::Control(main, kIdWorkMode);
  EXPECT_EQ(ui::ComboItems(types), CardTypes(language));
  EXPECT_EQ(ui::ComboItems(modes), WorkModes(language));
  EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), cardType);
  EXPECT_EQ(SendMessageA(modes, CB_GETCURSEL, 0, 0), workMode);
  EXPECT_EQ(ui::Text(types), CardTypes(language)[cardType]);
  EXPECT_EQ(ui::Text(modes), WorkModes(language)[workMode]);
}

class FormLanguageScenario : public KeyloomScenario {};

TEST_F(FormLanguageScenario, SwitchingRelabelsTheFormAndKeepsTheChoices) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ExpectFormIn(main, kEnglish, kMasterCard, kModeCardId);

  // User card with the last work mode: the work mode combo box is disabled in this view.
  ChooseView(main, kMasterCard, kModeSectorDataDecrypt);
  ChooseView(main, kUserCard, kModeSectorDataDecrypt, kIdCardType);
  HWND modes = ui::Control(main, kIdWorkMode);
  ASSERT_FALSE(ui::Enabled(modes));

  SwitchLanguage(main, kRussian);
  ExpectFormIn(main, kRussian, kUserCard, kModeSectorDataDecrypt);
  EXPECT_FALSE(ui::Enabled(modes));
  EXPECT_TRUE(ui::Visible(ui::Control(main, kIdDataEdit)));
  EXPECT_FALSE(ui::Visible(ui::Control(main, kIdInterfaceTouchMemory)));

  ChooseView(main, kMasterCard, kModeCardIdAuth, kIdCardType);
  SwitchLanguage(main, kEnglish);
  ExpectFormIn(main, kEnglish, kMasterCard, kModeCardIdAuth);
  EXPECT_FALSE(ui::Enabled(ui::Control(main, kIdBlockEdit)));
  EXPECT_TRUE(ui::Visible(ui::Control(main, kIdInterfaceTouchMemory)));
}

}  // namespace
