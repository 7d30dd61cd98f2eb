// The one line of appconfig.ini that keeps the language: how it is read and what is written.
// Portable core: works on the file's bytes, as the C runtime's text mode would hand them over.
#pragma once

#include <string>
#include <string_view>

#include "ui/ui_text.h"

// The file the language is kept in, relative to the working directory.
inline constexpr char kLanguageConfigFile[] = "appconfig.ini";

// The language a file's bytes name: its first line must be exactly "Language = RU;" or
// "Language = EN;" with its line end and nothing more; anything else, or no line, is Russian.
Language LanguageFromConfig(std::string_view fileBytes);

// The bytes written for a language: the line and CR LF, as text mode writes them on disk.
std::string LanguageConfigLine(Language language);
