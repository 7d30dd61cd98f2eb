// CRC-8/MAXIM, processed least significant bit first.
// Used for the 16-byte card blocks and by the number display.
#include "protocol/crc8.h"

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
