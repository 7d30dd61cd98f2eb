// The one program-wide FormState, with the initial values the form starts from, and the only
// functions that change it. Portable core: the shell calls them and shows the result.
#include "ui/form_state.h"

#include <cstdio>
#include <cstring>

#include "base/card_address.h"
#include "base/hex_text.h"
#include "ui/hex_field.h"

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

const char* KeyRecordDescriptionOf(const uint8_t key[6]) {
  return std::memcmp(key, g_state.keyRecordKey, sizeof g_state.keyRecordKey) == 0 ? g_state.keyRecordDescription : "";
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
