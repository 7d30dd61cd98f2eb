// keys.data read as the key list reads it: the 512-byte line reader against a plain split at LF,
// the line parser against the key search written out with std::string, and every record that
// holds what a written line holds composed again into a line that parses to the same record.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "keystore/key_list.h"

namespace {

struct Field {
  const char* key;
  size_t valueLength;  // 0: the rest of the line
  char* (*slot)(KeyRecord&);
  size_t capacity;
};
const Field kFields[] = {
    {"OI=", 1, [](KeyRecord& r) { return r.outputInterface; }, sizeof KeyRecord::outputInterface},
    {"LL=", 1, [](KeyRecord& r) { return r.indicationControl; }, sizeof KeyRecord::indicationControl},
    {"DI=", 1, [](KeyRecord& r) { return r.standbyIndication; }, sizeof KeyRecord::standbyIndication},
    {"SB=", 1, [](KeyRecord& r) { return r.touchButtonPoll; }, sizeof KeyRecord::touchButtonPoll},
    {"WM=", 1, [](KeyRecord& r) { return r.workMode; }, sizeof KeyRecord::workMode},
    {"SN=", 2, [](KeyRecord& r) { return r.sector; }, sizeof KeyRecord::sector},
    {"BN=", 1, [](KeyRecord& r) { return r.block; }, sizeof KeyRecord::block},
    {"M_KEY=", 12, [](KeyRecord& r) { return r.keyText; }, sizeof KeyRecord::keyText},
    {"Description=", 0, [](KeyRecord& r) { return r.description; }, sizeof KeyRecord::description},
};

KeyRecord Prefilled(char mark) {
  KeyRecord record = {};
  for (const Field& f : kFields) f.slot(record)[0] = mark;
  return record;
}

bool SameRecord(KeyRecord& a, KeyRecord& b) {
  for (const Field& f : kFields) {
    if (std::strcmp(f.slot(a), f.slot(b)) != 0) return false;
  }
  return true;
}

// The keys searched in order, each from just after the previous value and one character more.
void ReferenceParse(const std::string& line, KeyRecord& record) {
  size_t start = 0;
  for (const Field& f : kFields) {
    const size_t found = line.find(f.key, start);
    if (found == std::string::npos) return;
    const size_t valueAt = found + std::strlen(f.key);
    std::string value = line.substr(valueAt, f.valueLength ? f.valueLength : std::string::npos);
    value.resize(std::min(value.size(), f.capacity - 1));
    std::memcpy(f.slot(record), value.c_str(), value.size() + 1);
    start = valueAt + f.valueLength + 1;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void CheckLine(const char* text) {
  KeyRecord a = Prefilled('\x01');
  KeyRecord b = Prefilled('\x02');
  KeyRecord expected = Prefilled('\x01');
  ParseKeyLine(text, &a);
  ParseKeyLine(text, &b);
  ReferenceParse(text, expected);
  FUZZ_CHECK(SameRecord(a, expected));
  for (const Field& f : kFields) FUZZ_CHECK(std::memchr(f.slot(a), '\0', f.capacity) != nullptr);

  // A record that holds what a written line holds composes back into a line of the same record.
  const bool everyFieldFound = SameRecord(a, b);
  const bool composable = std::strlen(a.outputInterface) == 1 && std::strlen(a.indicationControl) == 1 &&
                          std::strlen(a.standbyIndication) == 1 && std::strlen(a.touchButtonPoll) == 1 &&
                          std::strlen(a.workMode) == 1 && std::strlen(a.sector) == 2 && IsDigit(a.sector[0]) &&
                          IsDigit(a.sector[1]) && std::strlen(a.block) == 1 && IsDigit(a.block[0]) &&
                          std::strlen(a.keyText) == 12;
  if (everyFieldFound && composable) {
    KeyLineSettings settings;
    settings.outputInterface = a.outputInterface[0];
    settings.indicationControl = a.indicationControl[0];
    settings.standbyIndication = a.standbyIndication[0];
    settings.touchButtonPoll = a.touchButtonPoll[0];
    settings.workMode = a.workMode[0];
    settings.sector = (a.sector[0] - '0') * 10 + (a.sector[1] - '0');
    settings.block = a.block[0] - '0';
    char line[kKeyLineBufferSize];
    const size_t length = ComposeKeyLine(settings, a.keyText, a.description, line);
    FUZZ_CHECK(length == 68 + std::strlen(a.description) && length <= 324);
    FUZZ_CHECK(std::memchr(line, '\n', length) == line + length - 1);
    line[length - 1] = '\0';
    KeyRecord again = Prefilled('\x03');
    ParseKeyLine(line, &again);
    FUZZ_CHECK(SameRecord(again, a));
  }

  // What the list and the form make of the record stays within its buffers.
  uint8_t key[6];
  KeyTextToBytes(a.keyText, key);
  std::string digits;
  for (const char* c = a.keyText; *c; ++c) {
    if (*c != ' ') digits += *c;
  }
  auto nibble = [&](size_t i) -> int {
    if (i >= digits.size()) return 0;
    const char c = digits[i];
    return IsDigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 0;
  };
  for (size_t i = 0; i < 6; ++i) FUZZ_CHECK(key[i] == (nibble(2 * i) << 4 | nibble(2 * i + 1)));
  const int sector = KeyRecordSector(a);
  FUZZ_CHECK(sector >= 1 && sector <= 99);
  char shown[kSpacedKeyLength + 1];
  ShownKeyText(a, false, shown);
  FUZZ_CHECK(std::strlen(shown) <= kSpacedKeyLength);
  ShownKeyText(a, true, shown);
  FUZZ_CHECK(std::strlen(shown) == kSpacedKeyLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KeyLineReader reader = {};
  size_t lineStart = 0;
  for (size_t i = 0; i < size; ++i) {
    if (!TakeKeyLineByte(&reader, static_cast<char>(data[i]))) continue;
    FUZZ_CHECK(data[i] == '\n');
    // The line as the file holds it, cut to the buffer's room.
    const size_t kept = std::min(i - lineStart, kKeyLineBufferSize - 1);
    FUZZ_CHECK(std::memcmp(reader.text, data + lineStart, kept) == 0 && reader.text[kept] == '\0');
    CheckLine(reader.text);
    lineStart = i + 1;
  }
  return 0;
}
