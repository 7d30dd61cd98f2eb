// The one program-wide FormState, with the initial values the form starts from, and the only
// functions that change it; the hex fields' text rules. Portable core: the shell shows the result.
#include "ui/form_state.h"

#include <cstdio>
#include <cstring>

#include "base/card_address.h"
#include "base/hex_text.h"

namespace {

FormState g_state;

}  // namespace

const FormState& g_form = g_state;

void SetFormSectorNumber(int32_t proposed) { g_state.sectorNumber = ClampSectorNumber(proposed); }

void SetFormBlockNumber(int32_t proposed) { g_state.blockNumber = ClampBlockNumber(proposed); }

void SetFormSystemKey(const uint8_t key[6]) {
  std::memcpy(g_state.systemKey, key, sizeof g_state.systemKey);
  HexPairsText(g_state.systemKey, sizeof g_state.systemKey, g_state.systemKeyText);
}

void SetFormSectorData(const uint8_t data[7]) {
  std::memcpy(g_state.sectorData, data, sizeof g_state.sectorData);
  HexPairsText(g_state.sectorData, sizeof g_state.sectorData, g_state.sectorDataText);
}

void SetFormKeyRecord(const char* text, const uint8_t key[6], const char* description) {
  std::snprintf(g_state.systemKeyText, sizeof g_state.systemKeyText, "%s", text);
  std::memcpy(g_state.systemKey, key, sizeof g_state.systemKey);
  std::memcpy(g_state.keyRecordKey, key, sizeof g_state.keyRecordKey);
  std::snprintf(g_state.keyRecordDescription, sizeof g_state.keyRecordDescription, "%s", description);
}

void CommitFormSystemKey(const char* typed) {
  CommitHexText(typed, kKeyFieldLayout, g_state.systemKey, g_state.systemKeyText);
}

void CommitFormSectorData(const char* typed) {
  CommitHexText(typed, kDataFieldLayout, g_state.sectorData, g_state.sectorDataText);
}

void SetFormConverterFormat(int format) { g_state.converterFormat = format; }

void ResetFormFields(FieldReset reset) {
  if (reset == kResetMasterId) {
    SetFormSectorNumber(kFirstSector);
    SetFormBlockNumber(0);
    const uint8_t zero[6] = {};
    SetFormSystemKey(zero);
  } else if (reset == kResetBlock) {
    SetFormBlockNumber(0);
  }
}

void StripSpaces(char* text) {
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (*in != ' ') *out++ = *in;
  }
  *out = '\0';
}

bool IsAcceptedHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

int FirstRejectedPosition(const char* text) {
  for (int p = 0; text[p] != '\0'; ++p) {
    if (!IsAcceptedHexDigit(text[p])) return p;
  }
  return -1;
}

void RemoveCharAt(char* text, int position) {
  std::memmove(text + position, text + position + 1, std::strlen(text + position));
}

void CommitHexText(const char* typed, const HexFieldLayout& layout, uint8_t* bytes, char* spacedText) {
  char digits[32];
  const size_t typedLength = std::strlen(typed);
  for (int i = 0; i < layout.digitCount; ++i) {
    digits[i] = static_cast<size_t>(i) < typedLength ? typed[i] : 'F';
  }
  digits[layout.digitCount] = '\0';
  for (int i = 0; i < layout.byteCount; ++i) {
    bytes[i] = static_cast<uint8_t>(HexDigitValue(digits[2 * i]) << 4 | HexDigitValue(digits[2 * i + 1]));
  }
  // The text is written back from the bytes, so what the field shows is what is stored.
  HexPairsText(bytes, layout.byteCount, spacedText);
}
