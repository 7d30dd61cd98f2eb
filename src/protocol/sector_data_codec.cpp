// The sector data mask of the encrypted work mode and the transform both ways.
// The mask is a constant of the readers and never changes.
#include "protocol/sector_data_codec.h"

const uint8_t kSectorDataMask[kSectorDataSize] = {0x5A, 0x17, 0xC3, 0x9E, 0x04, 0xB2, 0x6D};

void EncodeSectorData(const uint8_t data[kSectorDataSize], uint8_t out[kSectorDataSize]) {
  for (int i = 0; i < kSectorDataSize; ++i) {
    out[i] = static_cast<uint8_t>(~(data[i] ^ kSectorDataMask[i]));
  }
}

void DecodeSectorData(uint8_t data[kSectorDataSize]) {
  for (int i = 0; i < kSectorDataSize; ++i) {
    data[i] = static_cast<uint8_t>(static_cast<uint8_t>(~data[i]) ^ kSectorDataMask[i]);
  }
}
