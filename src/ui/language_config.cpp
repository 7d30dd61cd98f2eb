// Reads and writes the language line of appconfig.ini with the C runtime's text-mode rules.
// Portable core: CR LF counts as one line end, Ctrl-Z ends the file, a line holds at most 79 characters.
#include "ui/language_config.h"

namespace {

constexpr size_t kMaxLineChars = 79;

// The first line as a text-mode read of at most 79 characters returns it, newline included.
std::string FirstTextLine(std::string_view bytes) {
  std::string line;
  for (size_t i = 0; i < bytes.size() && line.size() < kMaxLineChars; ++i) {
    char c = bytes[i];
    if (c == '\x1A') break;
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    line.push_back(c);
    if (c == '\n') break;
  }
  return line;
}

}  // namespace

Language LanguageFromConfig(std::string_view fileBytes) {
  const std::string line = FirstTextLine(fileBytes);
  if (line == "Language = EN;\n") return kEnglish;
  return kRussian;
}

std::string LanguageConfigLine(Language language) {
  return language == kEnglish ? "Language = EN;\r\n" : "Language = RU;\r\n";
}
