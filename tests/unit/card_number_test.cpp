// The converter's number display for both formats, the 1-Wire CRC it carries, and the
// zero padding of the decimal number.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/card_number.h"

namespace {

TEST(CardNumber, ShowsTheConverterTexts) {
  const struct {
    uint8_t data[7];
    int format;
    const char* touchMemory;
    const char* hex;
    const char* decimal;
  } cases[] = {
      {{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, 0, "CD00554433221101", "5544332211", "0366216421905"},
      {{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, 1, "EA00000033221101", "332211", "03351057"},
      {{0, 0, 0, 0, 0, 0, 0}, 0, "3D00000000000001", "0000000000", "0000000000000"},
      {{0, 0, 0, 0, 0, 0, 0}, 1, "3D00000000000001", "000000", "00000000"},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}, 0, "1A00FFFFFFFFFF01", "FFFFFFFFFF", "1099511627775"},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}, 1, "49000000FFFFFF01", "FFFFFF", "16777215"},
      {{0x01, 0, 0, 0, 0, 0, 0}, 0, "0A00000000000101", "0000000001", "0000000000001"},
  };
  for (const auto& c : cases) {
    const CardNumberTexts texts = CardNumberFor(c.data, c.format);
    EXPECT_EQ(texts.touchMemory, c.touchMemory) << "format " << c.format << ", " << c.hex;
    EXPECT_EQ(texts.hex, c.hex) << "format " << c.format;
    EXPECT_EQ(texts.decimal, c.decimal) << "format " << c.format << ", " << c.hex;
  }
}

TEST(CardNumber, LeavesBytesFiveAndSixOut) {
  const uint8_t a[7] = {1, 2, 3, 4, 5, 0x00, 0x00};
  const uint8_t b[7] = {1, 2, 3, 4, 5, 0xAB, 0xCD};
  for (int format : {0, 1}) {
    EXPECT_EQ(CardNumberFor(a, format).touchMemory, CardNumberFor(b, format).touchMemory);
    EXPECT_EQ(CardNumberFor(a, format).decimal, CardNumberFor(b, format).decimal);
  }
}

TEST(CardNumber, TouchMemoryCodeChecksAsA1WireRomCode) {
  // Read from the family code up, a ROM code followed by its own CRC checks to 0.
  const uint8_t data[7] = {0x9C, 0x41, 0x07, 0xE2, 0x30, 0, 0};
  for (int format : {0, 1}) {
    const std::string code = CardNumberFor(data, format).touchMemory;
    uint8_t rom[8];
    for (int i = 0; i < 8; ++i) rom[i] = static_cast<uint8_t>(std::stoi(code.substr(14 - 2 * i, 2), nullptr, 16));
    EXPECT_EQ(rom[0], 0x01);
    EXPECT_EQ(Crc8(rom, 8), 0) << code;
  }
}

}  // namespace
