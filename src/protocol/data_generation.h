// The values the form can generate instead of having them typed: a pseudo-random system key and
// sector data whose code has never been issued. Byte pairs come from values 0..32767, so bytes
// 0, 2, 4 (and 6 of the data) are never above 0x7F.
#pragma once

#include <cstdint>
#include <vector>

#include "protocol/ms_rand.h"

// How many candidates a generation tries before it gives up: far more than a growing
// usersData.data can ever block, yet a generation can never run on without end.
constexpr int kUniqueDataAttempts = 10000;

void DrawRandomKey(MsRand& rng, uint8_t key[6]);
void DrawSectorData(MsRand& rng, uint8_t data[7]);
// Draws from the same generator until the code of the data (bytes 0 to 4) is not among
// `recordedCodes`, which it sorts after the first collision. False, with `data` holding the last
// candidate, when every one of `maxAttempts` candidates was already recorded.
bool DrawUniqueSectorData(MsRand& rng, std::vector<uint64_t>& recordedCodes, int maxAttempts,
                          uint8_t data[7]);
