// Formats bytes as spaced upper-case hexadecimal pairs for the system key and sector data fields:
// generated and committed values, and values read back from a card.
#include "base/hex_text.h"

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

void HexPairsText(const uint8_t* bytes, int count, char* text) {
  char* out = text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) *out++ = ' ';
    *out++ = kHexDigits[bytes[i] >> 4];
    *out++ = kHexDigits[bytes[i] & 0xF];
  }
  *out = '\0';
}
