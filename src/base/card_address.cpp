// Keeps sector and block numbers inside the range a card command may address.
#include "base/card_address.h"

int32_t ClampSectorNumber(int32_t proposed) {
  if (proposed < kFirstSector) return kFirstSector;
  if (proposed > kLastSector) return kLastSector;
  return proposed;
}

int32_t ClampBlockNumber(int32_t proposed) {
  if (proposed < 0) return 0;
  if (proposed > kLastBlock) return kLastBlock;
  return proposed;
}
