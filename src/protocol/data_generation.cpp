// Draws keys and sector data as byte pairs (value >> 8, value & 0xFF) and keeps drawing from the
// same generator after a collision, so a repeated code costs one more draw, not a new seed.
#include "protocol/data_generation.h"

#include <algorithm>

#include "protocol/users_data_records.h"

namespace {

void DrawPairs(MsRand& rng, uint8_t* bytes, int pairs) {
  for (int i = 0; i < pairs; ++i) {
    int value = NextMsRand(rng);
    bytes[2 * i] = static_cast<uint8_t>(value >> 8);
    bytes[2 * i + 1] = static_cast<uint8_t>(value & 0xFF);
  }
}

}  // namespace

void DrawRandomKey(MsRand& rng, uint8_t key[6]) { DrawPairs(rng, key, 3); }

void DrawSectorData(MsRand& rng, uint8_t data[7]) {
  DrawPairs(rng, data, 3);
  data[6] = static_cast<uint8_t>(NextMsRand(rng) >> 8);
}

bool DrawUniqueSectorData(MsRand& rng, const std::vector<uint64_t>& sortedCodes, int maxAttempts,
                          uint8_t data[7]) {
  for (int attempt = 0; attempt < maxAttempts; ++attempt) {
    DrawSectorData(rng, data);
    if (!std::binary_search(sortedCodes.begin(), sortedCodes.end(), SectorDataCode(data))) {
      return true;
    }
  }
  return false;
}
