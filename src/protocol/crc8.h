// CRC-8/MAXIM, the check byte of the card blocks and of the 1-Wire ROM codes the converter shows.
// Portable core.
#pragma once

#include <cstdint>

// Reflected polynomial 0x8C, initial value 0, no final XOR; only the low 8 bits of the length
// count, and a length of 0 gives 0.
uint8_t Crc8(const uint8_t* data, int length);
