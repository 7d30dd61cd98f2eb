// The card number the " Custom Card Converter " shows for the sector data: the Touch Memory
// (1-Wire ROM) code and the number in hexadecimal and decimal, 40 or 24 bits wide. Portable core.
#pragma once

#include <cstdint>
#include <string>

// Converter formats: 0 Touch Memory / Wiegand 44 (40 bits), 1 Wiegand 26 (24 bits).
enum ConverterFormat : int { kFormat40Bit = 0, kFormat24Bit = 1 };

struct CardNumberTexts {
  std::string touchMemory;  // 16 hex digits: CRC, serial number high to low, family code 01
  std::string hex;          // 10 or 6 hex digits
  std::string decimal;      // 13 or 8 zero-padded decimal digits
};

// The three converter texts for the 7 sector data bytes in the given format (any other value
// than 1 is the 40-bit view). Bytes 5 and 6 play no part.
CardNumberTexts CardNumberFor(const uint8_t* sectorData, int format);
