// The program's own pseudo-random generator, with the values and sequence of the Windows C
// runtime's srand/rand (0..32767), so native and Windows builds draw the same numbers.
#pragma once

#include <cstdint>

struct MsRand {
  uint32_t state = 1;
};

void SeedMsRand(MsRand& rng, uint32_t seed);
// The next value, 0..32767.
int NextMsRand(MsRand& rng);
// The seed taken from the local time: second * 1000 + millisecond, one of 60,000.
uint32_t LocalTimeSeed(int second, int millisecond);
