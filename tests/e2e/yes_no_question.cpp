// The yes/no questions checked against the texts the program must show and the system's buttons.
// Only a Russian interface tells the two language ids apart, so the scenario insists on one.
#include "yes_no_question.h"

#include <gtest/gtest.h>

void ExpectQuestion(const ui::MessageBoxView& box, const std::string& text, Language language) {
  // On an English interface the user's default language gives English buttons too.
  ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_RUSSIAN)
      << "the scenarios need a Russian interface language (LANG and LC_ALL ru_RU.UTF-8 under Wine)";
  EXPECT_EQ(box.caption, TextIn(shown::kMessageCaption, language));
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(ui::Text(ui::Control(box.window, IDYES)), TextIn(shown::kQuestionYes, language));
  EXPECT_EQ(ui::Text(ui::Control(box.window, IDNO)), TextIn(shown::kQuestionNo, language));
}
