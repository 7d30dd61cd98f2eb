// CRC-8/MAXIM, least significant bit first, and the converter's number display: the sector data's
// low bytes as a 1-Wire ROM code with its CRC, and the same number in hexadecimal and decimal.
#include "base/card_number.h"

#include "base/hex_text.h"

namespace {

constexpr uint8_t kOneWireFamily = 0x01;

// One row per format: how many data bytes (D0 upwards) form the number, and its decimal width.
struct FormatRow {
  int numberBytes;
  int decimalDigits;
};
constexpr FormatRow kFormats[] = {
    {5, 13},  // Touch Memory, Wiegand 44
    {3, 8},   // Wiegand 26
};

void AppendHexByte(std::string& text, uint8_t byte) {
  text += kHexDigits[byte >> 4];
  text += kHexDigits[byte & 0x0F];
}

}  // namespace

uint8_t Crc8(const uint8_t* data, uint8_t length) {
  uint8_t crc = 0;
  for (int i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : static_cast<uint8_t>(crc >> 1);
    }
  }
  return crc;
}

CardNumberTexts CardNumberFor(const uint8_t* sectorData, int format) {
  const FormatRow& row = kFormats[format == kFormat24Bit ? 1 : 0];

  // The ROM code as the wire sends it: family, 48-bit serial least significant byte first, CRC.
  uint8_t rom[8] = {kOneWireFamily};
  for (int i = 0; i < row.numberBytes; ++i) rom[1 + i] = sectorData[i];
  rom[7] = Crc8(rom, 7);

  CardNumberTexts texts;
  for (int i = 7; i >= 0; --i) AppendHexByte(texts.touchMemory, rom[i]);

  uint64_t number = 0;
  for (int i = row.numberBytes - 1; i >= 0; --i) {
    AppendHexByte(texts.hex, sectorData[i]);
    number = number << 8 | sectorData[i];
  }

  texts.decimal.assign(static_cast<size_t>(row.decimalDigits), '0');
  for (int i = row.decimalDigits - 1; i >= 0 && number != 0; --i) {
    texts.decimal[static_cast<size_t>(i)] = static_cast<char>('0' + number % 10);
    number /= 10;
  }
  return texts;
}
