// CRC-8/MAXIM against its published check values, the 8-bit length rule and the self-check of a
// block followed by its own CRC.
#include <gtest/gtest.h>

#include "base/card_number.h"

namespace {

TEST(Crc8, CheckValuesAndSelfCheck) {
  const auto* digits = reinterpret_cast<const uint8_t*>("123456789");
  EXPECT_EQ(Crc8(digits, 9), 0xA1);
  EXPECT_EQ(Crc8(reinterpret_cast<const uint8_t*>("abc"), 3), 0x42);
  EXPECT_EQ(Crc8(nullptr, 0), 0);

  uint8_t block[16];
  for (int i = 0; i < 15; ++i) block[i] = static_cast<uint8_t>(i * 37 + 5);
  block[15] = Crc8(block, 15);
  EXPECT_EQ(Crc8(block, 16), 0);
  block[3] ^= 0x10;
  EXPECT_NE(Crc8(block, 16), 0);
}

}  // namespace
