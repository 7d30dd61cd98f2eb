// Formats bytes as spaced upper-case hexadecimal pairs for the system key and sector data fields.
// Used for generated values and for values read back from a card.
#include "protocol/hex_pairs_text.h"

void HexPairsText(const uint8_t* bytes, int count, char* text) {
  static const char kDigits[] = "0123456789ABCDEF";
  char* out = text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) *out++ = ' ';
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0xF];
  }
  *out = '\0';
}
