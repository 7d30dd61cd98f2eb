// The program's generator against the Windows C runtime's sequence, the byte ranges of generated
// keys and data, and a generation that gives up instead of spinning when every code is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/hex_text.h"
#include "protocol/user_codes.h"

namespace {

TEST(MsRand, FollowsTheWindowsRuntimeSequence) {
  MsRand rng;
  SeedMsRand(rng, 1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int value : expected) EXPECT_EQ(NextMsRand(rng), value);
  EXPECT_EQ(LocalTimeSeed(59, 999), 59999u);
}

TEST(DataGeneration, HighBytesOfEveryPairStayBelow0x80) {
  MsRand rng;
  for (uint32_t seed = 0; seed < 60000; seed += 7) {
    SeedMsRand(rng, seed);
    uint8_t key[6];
    uint8_t data[7];
    DrawRandomKey(rng, key);
    DrawSectorData(rng, data);
    for (int i : {0, 2, 4}) EXPECT_LE(key[i], 0x7F) << seed;
    for (int i : {0, 2, 4, 6}) EXPECT_LE(data[i], 0x7F) << seed;
  }
}

TEST(DataGeneration, GivesUpWhenEveryCandidateIsRecorded) {
  const int bound = 50;
  MsRand rng;
  SeedMsRand(rng, 777);
  std::vector<uint64_t> recorded;
  uint8_t data[7];
  for (int i = 0; i < bound; ++i) {
    DrawSectorData(rng, data);
    recorded.push_back(SectorDataCode(data));
  }
  DrawSectorData(rng, data);
  const uint64_t next = SectorDataCode(data);
  std::reverse(recorded.begin(), recorded.end());  // any order will do
  SeedMsRand(rng, 777);
  EXPECT_FALSE(DrawUniqueSectorData(rng, recorded, bound, data));
  SeedMsRand(rng, 777);
  ASSERT_TRUE(DrawUniqueSectorData(rng, recorded, bound + 1, data));
  EXPECT_EQ(SectorDataCode(data), next);  // the same generator, drawn on after each collision
}

TEST(HexPairsText, SpacedUpperCasePairs) {
  const uint8_t data[7] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  const uint8_t key[6] = {0x0A, 0xBC, 0xDE, 0xF0, 0x00, 0x7F};
  char text[21];
  HexPairsText(data, 7, text);
  EXPECT_STREQ(text, "11 22 33 44 55 66 77");
  HexPairsText(key, 6, text);
  EXPECT_STREQ(text, "0A BC DE F0 00 7F");
}

}  // namespace
