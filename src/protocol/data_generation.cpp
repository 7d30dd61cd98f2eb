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

bool DrawUniqueSectorData(MsRand& rng, std::vector<uint64_t>& recordedCodes, int maxAttempts,
                          uint8_t data[7]) {
  // The first draw is nearly always new: a plain search costs less than sorting for it.
  bool sorted = false;
  for (int attempt = 0; attempt < maxAttempts; ++attempt) {
    DrawSectorData(rng, data);
    uint64_t code = SectorDataCode(data);
    bool recorded =
        sorted ? std::binary_search(recordedCodes.begin(), recordedCodes.end(), code)
               : std::find(recordedCodes.begin(), recordedCodes.end(), code) != recordedCodes.end();
    if (!recorded) return true;
    if (!sorted) {
      std::sort(recordedCodes.begin(), recordedCodes.end());
      sorted = true;
    }
  }
  return false;
}
