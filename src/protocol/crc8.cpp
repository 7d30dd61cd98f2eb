// CRC-8/MAXIM computed bit by bit, least significant bit first.
// Portable core.
#include "protocol/crc8.h"

uint8_t Crc8(const uint8_t* data, int length) {
  const int count = length & 0xFF;
  uint8_t crc = 0;
  for (int i = 0; i < count; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : crc >> 1;
  }
  return crc;
}
