// CRC-8/MAXIM of the card blocks and of the Touch Memory code: reflected polynomial 0x8C,
// initial value 0, no final XOR, so a run followed by its own CRC byte checks to 0.
#pragma once

#include <cstdint>

// Only the 8-bit length counts; a length of 0 gives 0 without reading the data.
uint8_t Crc8(const uint8_t* data, uint8_t length);
