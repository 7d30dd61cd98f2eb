// The language setting on disk (appconfig.ini) and the two language commands of the menu.
// A switch takes effect at once: texts, title and menu bar are rebuilt in place.
#pragma once

// Reads appconfig.ini into g_language, creating it with the Russian line when it is missing.
void LoadLanguage();
// Writes the language line at the start of appconfig.ini; reports when the file cannot be opened.
void SaveLanguage();
// The menu's Russian and English commands.
void OnLanguageCommand(int commandId);
