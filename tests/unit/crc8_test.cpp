// CRC-8/MAXIM against its published check values, the 8-bit length rule and the self-check of a
// block followed by its own CRC.
#include <gtest/gtest.h>

#include <cstring>

#include "protocol/crc8.h"

namespace {

const uint8_t* Bytes(const char* text) { return reinterpret_cast<const uint8_t*>(text); }

TEST(Crc8, CheckValues) {
  struct Case {
    const char* name;
    const char* data;
    uint8_t length;
    uint8_t expected;
  };
  const Case cases[] = {
      {"digits 1 to 9", "123456789", 9, 0xA1},
      {"abc", "abc", 3, 0x42},
      {"length 0 reads nothing", nullptr, 0, 0x00},
      {"one zero byte", "\0", 1, 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Crc8(Bytes(c.data), c.length), c.expected) << c.name;
  }
}

TEST(Crc8, BlockFollowedByItsCrcChecksToZero) {
  uint8_t block[16];
  for (int seed = 0; seed < 64; ++seed) {
    for (int i = 0; i < 15; ++i) block[i] = static_cast<uint8_t>(seed * 37 + i * 11);
    block[15] = Crc8(block, 15);
    EXPECT_EQ(Crc8(block, 16), 0) << seed;
    block[3] ^= 0x10;
    EXPECT_NE(Crc8(block, 16), 0) << seed;
  }
}

}  // namespace
