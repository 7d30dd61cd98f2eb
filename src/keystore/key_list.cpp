// The key line format of keys.data: nine "key=value" fields at fixed places when written,
// found by searching when read, so a line with extra text between its fields still parses.
#include "keystore/key_list.h"

#include <cstdio>
#include <cstring>

#include "base/hex_text.h"
#include "ui/form_state.h"

namespace {

// One field of a line: its key, how many characters its value takes (0: the rest of the line)
// and where in KeyRecord it goes.
struct FieldSlot {
  const char* key;
  size_t valueLength;
  char* value;
  size_t capacity;
};

size_t CopyValue(char* value, size_t capacity, const char* from, size_t length) {
  size_t n = 0;
  while (n < length && n + 1 < capacity && from[n] != '\0') {
    value[n] = from[n];
    ++n;
  }
  value[n] = '\0';
  return n;
}

}  // namespace

size_t ComposeKeyLine(const KeyLineSettings& settings, const char* key, const char* description,
                      char* line) {
  char sector[8];
  char block[8];
  snprintf(sector, sizeof sector, "%02d", settings.sector);
  snprintf(block, sizeof block, "%d", settings.block);
  const char oi[2] = {settings.outputInterface, '\0'};
  const char ll[2] = {settings.indicationControl, '\0'};
  const char di[2] = {settings.standbyIndication, '\0'};
  const char sb[2] = {settings.touchButtonPoll, '\0'};
  const char wm[2] = {settings.workMode, '\0'};
  int length = snprintf(line, kKeyLineBufferSize,
                        "%s%s %s%s %s%s %s%s %s%s %s%.2s %s%.1s %s%.12s %s%.256s\n", "OI=", oi,
                        "LL=", ll, "DI=", di, "SB=", sb, "WM=", wm, "SN=", sector, "BN=", block,
                        "M_KEY=", key, "Description=", description);
  return length < 0 ? 0 : static_cast<size_t>(length);
}

void ParseKeyLine(const char* line, KeyRecord* record) {
  const FieldSlot fields[] = {
      {"OI=", 1, record->outputInterface, sizeof record->outputInterface},
      {"LL=", 1, record->indicationControl, sizeof record->indicationControl},
      {"DI=", 1, record->standbyIndication, sizeof record->standbyIndication},
      {"SB=", 1, record->touchButtonPoll, sizeof record->touchButtonPoll},
      {"WM=", 1, record->workMode, sizeof record->workMode},
      {"SN=", 2, record->sector, sizeof record->sector},
      {"BN=", 1, record->block, sizeof record->block},
      {"M_KEY=", 12, record->keyText, sizeof record->keyText},
      {"Description=", 0, record->description, sizeof record->description},
  };
  const size_t lineLength = strlen(line);
  size_t start = 0;
  for (const FieldSlot& field : fields) {
    if (start > lineLength) return;
    const char* found = strstr(line + start, field.key);
    if (found == nullptr) return;
    const size_t valueAt = static_cast<size_t>(found - line) + strlen(field.key);
    const size_t length = field.valueLength ? field.valueLength : lineLength - valueAt;
    CopyValue(field.value, field.capacity, line + valueAt, length);
    // The next search starts after the value and the blank that follows it.
    start = valueAt + field.valueLength + 1;
  }
}

bool TakeKeyLineByte(KeyLineReader* reader, char byte) {
  if (byte == '\n') {
    reader->text[reader->length] = '\0';
    reader->length = 0;
    return true;
  }
  if (reader->length + 1 < sizeof reader->text) reader->text[reader->length++] = byte;
  return false;
}

void ShownKeyText(const KeyRecord& record, bool masked, char text[kSpacedKeyLength + 1]) {
  if (masked) {
    memset(text, '*', kSpacedKeyLength);
    text[kSpacedKeyLength] = '\0';
    return;
  }
  char digits[13];
  CopyValue(digits, sizeof digits, record.keyText, 12);
  size_t out = 0;
  for (size_t i = 0; digits[i] != '\0'; ++i) {
    if (i > 0 && i % 2 == 0) text[out++] = ' ';
    text[out++] = digits[i];
  }
  text[out] = '\0';
}

bool RecordHoldsKey(const KeyRecord& record, const char* spacedKey, const char* description) {
  char key[kSpacedKeyLength + 1];
  ShownKeyText(record, false, key);
  return strcmp(key, spacedKey) == 0 && strcmp(record.description, description) == 0;
}

int KeyRecordSector(const KeyRecord& record) {
  int sector = 0;
  for (const char* c = record.sector; *c >= '0' && *c <= '9'; ++c) sector = sector * 10 + (*c - '0');
  return sector == 0 ? 1 : sector;
}

void KeyTextToBytes(const char* keyText, uint8_t bytes[6]) {
  char digits[32];
  CopyValue(digits, sizeof digits, keyText, sizeof digits - 1);
  StripSpaces(digits);
  const size_t count = strlen(digits);
  for (size_t i = 0; i < 6; ++i) {
    const char high = 2 * i < count ? digits[2 * i] : '0';
    const char low = 2 * i + 1 < count ? digits[2 * i + 1] : '0';
    bytes[i] = static_cast<uint8_t>(HexDigitValue(high) << 4 | HexDigitValue(low));
  }
}
