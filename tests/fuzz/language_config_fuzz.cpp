// appconfig.ini's first-line rule against a plain reading of the text-mode file: English only for
// the exact English line, Russian for anything else, and a written line read back as written.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "ui/language_config.h"

namespace {

// The file as text mode hands it over: Ctrl-Z ends it and CR LF is one LF.
Language ReferenceLanguage(std::string bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
  }
  return text.compare(0, 15, "Language = EN;\n") == 0 ? kEnglish : kRussian;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(LanguageFromConfig(bytes) == ReferenceLanguage(bytes));
  // Whatever follows the line the program writes, that line decides.
  for (Language language : {kEnglish, kRussian}) {
    FUZZ_CHECK(LanguageFromConfig(LanguageConfigLine(language) + bytes) == language);
  }
  return 0;
}
