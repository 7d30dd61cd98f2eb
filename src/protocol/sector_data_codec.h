// The fixed transform of the sector data in the work mode "Send sector data after logged in
// and decrypt": what a user write stores on the card, and its inverse for the read-back.
#pragma once

#include <cstdint>

constexpr int kSectorDataSize = 7;
extern const uint8_t kSectorDataMask[kSectorDataSize];

// out[i] = ~(data[i] ^ mask[i]).
void EncodeSectorData(const uint8_t data[kSectorDataSize], uint8_t out[kSectorDataSize]);
// In place: data[i] = ~data[i] ^ mask[i].
void DecodeSectorData(uint8_t data[kSectorDataSize]);
