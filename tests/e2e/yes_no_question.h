// The program's two yes/no questions (clearing a card, removing a key) as the user sees them:
// the text and caption in the program's language, the system's buttons in the language it asked for.
#pragma once

#include <string>

#include "expected_texts.h"
#include "uidriver.h"

// Expects the question's text and caption in the language, and its buttons in English for
// English and in the user's default language, Russian, for Russian.
void ExpectQuestion(const ui::MessageBoxView& box, const std::string& text, Language language);
