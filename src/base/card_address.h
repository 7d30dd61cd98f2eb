// The sectors and blocks a card command may address: sectors 1 to 15 and blocks 0 to 2 of a
// sector. The frames carry them, a block read gives them back, and the form's up-downs keep to them.
#pragma once

#include <cstdint>

inline constexpr int32_t kFirstSector = 1;
inline constexpr int32_t kLastSector = 15;
inline constexpr int32_t kLastBlock = 2;

// A sector or block number kept inside its range: one outside it is taken at the nearest bound,
// which is also what the form's up-down shows when it is given that number.
constexpr int32_t ClampSectorNumber(int32_t proposed) {
  return proposed < kFirstSector ? kFirstSector : proposed > kLastSector ? kLastSector : proposed;
}
constexpr int32_t ClampBlockNumber(int32_t proposed) { return proposed < 0 ? 0 : proposed > kLastBlock ? kLastBlock : proposed; }
