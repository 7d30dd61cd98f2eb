// The duplicate test of Add new: the key is compared in its spaced form, so the edit's
// "00 00 00 00 00 00" matches a stored key of twelve zeros; case counts in both fields.
#include "keystore/duplicate_key.h"

#include <cstring>

bool TakeLineForDuplicate(DuplicateKeySearch* search, const char* line, KeyRecord* record) {
  ++search->line;
  ParseKeyLine(line, record);
  char key[kSpacedKeyLength + 1];
  ShownKeyText(*record, false, key);
  return strcmp(key, search->spacedKey) == 0 &&
         strcmp(record->description, search->description) == 0;
}
