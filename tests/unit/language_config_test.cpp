// The first-line rule of appconfig.ini: which bytes give English, and that everything else is Russian.
// The file's bytes are given raw, so the CR LF handling of text mode is part of what is checked.
#include <gtest/gtest.h>

#include "ui/language_config.h"

namespace {

struct ConfigCase {
  const char* name;
  std::string bytes;
  Language expected;
};

TEST(LanguageConfig, FirstLineDecidesTheLanguage) {
  const ConfigCase cases[] = {
      {"RU line with CR LF", "Language = RU;\r\n", kRussian},
      {"EN line with CR LF", "Language = EN;\r\n", kEnglish},
      {"EN line with LF only", "Language = EN;\n", kEnglish},
      {"EN line followed by more lines", "Language = EN;\r\nLanguage = RU;\r\n", kEnglish},
      {"EN without a line end", "Language = EN;", kRussian},
      {"EN with a trailing blank", "Language = EN; \r\n", kRussian},
      {"EN with a leading blank", " Language = EN;\r\n", kRussian},
      {"EN in lower case", "language = en;\r\n", kRussian},
      {"EN on the second line only", "Language = RU;\r\nLanguage = EN;\r\n", kRussian},
      {"EN after an empty first line", "\r\nLanguage = EN;\r\n", kRussian},
      {"EN with a lone CR", "Language = EN;\r", kRussian},
      {"EN with CR CR LF", "Language = EN;\r\r\n", kRussian},
      {"EN with a NUL inside", std::string("Language = EN;\0\r\n", 17), kRussian},
      {"EN after Ctrl-Z", "\x1A" "Language = EN;\r\n", kRussian},
      {"empty file", "", kRussian},
      {"garbage", "\xFF\xFE" "EN", kRussian},
      {"overlong first line ending in EN",
       std::string(80, ' ') + "Language = EN;\r\n", kRussian},
  };
  for (const ConfigCase& c : cases) {
    EXPECT_EQ(LanguageFromConfig(c.bytes), c.expected) << c.name;
  }
}

TEST(LanguageConfig, WrittenLineIsReadBackAsItsLanguage) {
  EXPECT_EQ(LanguageConfigLine(kRussian), "Language = RU;\r\n");
  EXPECT_EQ(LanguageConfigLine(kEnglish), "Language = EN;\r\n");
  for (Language l : {kRussian, kEnglish}) {
    EXPECT_EQ(LanguageFromConfig(LanguageConfigLine(l)), l);
  }
}

}  // namespace
