// A linear congruential generator: state = state * 214013 + 2531011, value = bits 16..30.
// Seeded from the local time for every generation of a key or of sector data.
#include "protocol/ms_rand.h"

void SeedMsRand(MsRand& rng, uint32_t seed) { rng.state = seed; }

int NextMsRand(MsRand& rng) {
  rng.state = rng.state * 214013u + 2531011u;
  return static_cast<int>((rng.state >> 16) & 0x7FFF);
}

uint32_t LocalTimeSeed(int second, int millisecond) {
  return static_cast<uint32_t>(second * 1000 + millisecond);
}
