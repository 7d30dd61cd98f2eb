// Formats bytes as spaced upper-case hexadecimal pairs for the system key and sector data fields.
// Used for generated and committed values and for values read back from a card.
#include "base/hex_pairs_text.h"

#include "base/hex_digits.h"

void HexPairsText(const uint8_t* bytes, int count, char* text) {
  char* out = text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) *out++ = ' ';
    *out++ = kHexDigits[bytes[i] >> 4];
    *out++ = kHexDigits[bytes[i] & 0xF];
  }
  *out = '\0';
}
