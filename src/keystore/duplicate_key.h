// Add new's search of the key list for the key and description it is about to append: a line
// holds the same record when its spaced key and its description are the same, byte for byte.
#pragma once

#include "keystore/key_line.h"

// The key as the keys list window's key edit shows it (six spaced pairs), the description, and
// the number of the line taken last (-1 before the first).
struct DuplicateKeySearch {
  const char* spacedKey;
  const char* description;
  int line = -1;
};

// Takes the next line of the list, without its LF, and parses it into record.
// True when it holds the key and description searched for; search->line is then its number.
bool TakeLineForDuplicate(DuplicateKeySearch* search, const char* line, KeyRecord* record);
