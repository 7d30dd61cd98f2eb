// The CRC-8 of the card blocks and the card number the " Custom Card Converter " shows for the
// sector data: the Touch Memory (1-Wire ROM) code and the number in hexadecimal and decimal.
#pragma once

#include <cstdint>
#include <string>

// CRC-8/MAXIM: reflected polynomial 0x8C, initial value 0, no final XOR, so a run followed by its
// own CRC byte checks to 0. Only the 8-bit length counts; a length of 0 gives 0 without reading.
uint8_t Crc8(const uint8_t* data, uint8_t length);

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
