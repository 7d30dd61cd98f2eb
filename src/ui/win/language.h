// The language setting on disk (appconfig.ini) and the two language commands of the menu.
// A switch takes effect at once: texts, title and menu bar are rebuilt in place.
#pragma once

// Reads appconfig.ini into g_language, creating it with the Russian line when it is missing.
void LoadLanguage();
// Writes the language line at the start of appconfig.ini; reports when the file cannot be opened.
void SaveLanguage();
// Menu commands 2 (Russian) and 3 (English).
void OnLanguageCommand(int commandId);
