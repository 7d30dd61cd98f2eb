// The hexadecimal entry fields' text rules: blanks removed and put back, typed characters
// filtered, and the committed text padded, cut and turned into bytes.
#include "ui/hex_field.h"

#include <cstring>

#include "base/hex_text.h"

namespace {

// The value of a hex digit; any other character counts 0.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

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
    bytes[i] = static_cast<uint8_t>(DigitValue(digits[2 * i]) << 4 | DigitValue(digits[2 * i + 1]));
  }
  // The text is written back from the bytes, so what the field shows is what is stored.
  HexPairsText(bytes, layout.byteCount, spacedText);
}
