// FormState: the values the main form stands for, from which card frames and key lines are built,
// and the rules of its two hexadecimal entry fields (system key, sector data). Portable core.
#pragma once

#include <cstdint>
#include <cstring>

struct FormState {
  int32_t sectorNumber = 1;  // 1..15
  int32_t blockNumber = 0;   // 0..2
  uint8_t systemKey[6] = {};
  char systemKeyText[32] = "00 00 00 00 00 00";
  uint8_t sectorData[7] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  char sectorDataText[32] = "11 22 33 44 55 66 77";
  int converterFormat = 0;  // 0 Touch Memory / Wiegand 44, 1 Wiegand 26
  // The key-list record whose key "Use This Key" put on the form last: its key and description.
  uint8_t keyRecordKey[6] = {};
  char keyRecordDescription[257] = "";
};

// The form's choices that FormState does not hold, as its controls show them: the card type and
// work mode lists, the four reader settings and the two check boxes. -1: nothing selected or checked.
inline constexpr int kReaderSettingCount = 4;
struct FormSettings {
  int cardType = -1;  // 0 Master, 1 User
  int workMode = -1;  // work mode list index 0..3
  int radio[kReaderSettingCount] = {-1, -1, -1, -1};  // the checked button of each reader setting
  bool showKey = false;               // "Show Key"
  bool generateBeforeWrite = false;   // "Generate unique data before write"
};

// What a card read back or a key-list record puts on the form. A setting of -1 is left as it is;
// the sector and block are always taken.
struct FormRecord {
  int radio[kReaderSettingCount] = {-1, -1, -1, -1};
  int workMode = -1;
  int32_t sector = 1;
  int32_t block = 0;
  bool hasKey = false;  // a master card's key, or a record's
  uint8_t key[6] = {};
  const char* keyText = nullptr;         // a record's key as its line holds it; null: from the bytes
  const char* keyDescription = nullptr;  // the record's description
  bool hasData = false;  // a user card's sector data
  uint8_t data[7] = {};
};

// The one program-wide FormState. Everybody reads it here; only the functions below change it,
// and the shell then shows the new values in the controls.
extern const FormState& g_form;

// Kept inside the range a card command may address.
void SetFormSectorNumber(int32_t proposed);
void SetFormBlockNumber(int32_t proposed);
// The bytes, with their text as spaced pairs.
void SetFormSystemKey(const uint8_t key[6]);
void SetFormSectorData(const uint8_t data[7]);
// The key of a key-list record as its line holds it (the text as it stands and the bytes read
// from it), remembered with the record's description.
void SetFormKeyRecord(const char* text, const uint8_t key[6], const char* description);
// The description of the key-list record put on the form last when `key` is that record's key;
// empty for another key (one changed since, or never taken from the list).
inline const char* KeyRecordDescriptionOf(const uint8_t key[6]) {
  return std::memcmp(key, g_form.keyRecordKey, sizeof g_form.keyRecordKey) == 0 ? g_form.keyRecordDescription : "";
}
// The text typed into the key or data field, committed as the hex field rules say.
void CommitFormSystemKey(const char* typed);
void CommitFormSectorData(const char* typed);
void SetFormConverterFormat(int format);

// What a view code resets before its view applies.
enum FieldReset : int {
  kResetNothing,
  kResetMasterId,  // sector 1, block 0, system key zero, "Show Key" cleared
  kResetBlock,     // block 0
};
void ResetFormFields(FieldReset reset);

// The hexadecimal entry fields: the text helpers, the typing filter and the commit of a typed text.
// The two fields: byte count n and digit count L = 2n.
struct HexFieldLayout {
  int byteCount;
  int digitCount;
};

inline constexpr HexFieldLayout kKeyFieldLayout = {6, 12};
inline constexpr HexFieldLayout kDataFieldLayout = {7, 14};

// Removes every blank from a NUL-terminated text in place, keeping the order of the rest.
void StripSpaces(char* text);

// Whether the field accepts a typed character: '0'-'9' and 'A'-'F' only.
bool IsAcceptedHexDigit(char c);

// Position of the first rejected character of a NUL-terminated text, or -1 when all are accepted.
int FirstRejectedPosition(const char* text);

// Removes the character at the position in place; the rest moves one place to the left.
void RemoveCharAt(char* text, int position);

// The commit of a typed text: padded with 'F' to L digits, cut at L, turned into n bytes
// (pairs give high and low four bits; characters other than hex digits count 0).
// Writes the n bytes and the spaced text (3n - 1 characters and a NUL; spacedText holds 3n bytes).
void CommitHexText(const char* typed, const HexFieldLayout& layout, uint8_t* bytes, char* spacedText);
