// The number display for any sector data and any converter format: the hexadecimal and decimal
// texts name the same number, and the Touch Memory code carries family 01, the number and its CRC.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "base/card_number.h"

namespace {

bool AllOf(const std::string& text, const char* set) {
  return text.find_first_not_of(set) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  uint8_t sectorData[7];
  std::memcpy(sectorData, data, 7);
  int format = 0;
  std::memcpy(&format, data + 7, std::min<size_t>(size - 7, sizeof format));
  const CardNumberTexts texts = CardNumberFor(sectorData, format);

  const bool narrow = format == kFormat24Bit;
  const size_t numberBytes = narrow ? 3 : 5;
  FUZZ_CHECK(texts.hex.size() == 2 * numberBytes && AllOf(texts.hex, "0123456789ABCDEF"));
  FUZZ_CHECK(texts.decimal.size() == (narrow ? 8u : 13u) && AllOf(texts.decimal, "0123456789"));
  uint64_t number = 0;
  for (size_t i = numberBytes; i-- > 0;) number = number << 8 | sectorData[i];
  FUZZ_CHECK(std::stoull(texts.hex, nullptr, 16) == number);
  FUZZ_CHECK(std::stoull(texts.decimal, nullptr, 10) == number);

  // Written most significant byte first: CRC, the six serial bytes, the family code.
  FUZZ_CHECK(texts.touchMemory.size() == 16 && AllOf(texts.touchMemory, "0123456789ABCDEF"));
  uint8_t rom[8];
  for (int i = 0; i < 8; ++i) {
    rom[i] = static_cast<uint8_t>(std::stoul(texts.touchMemory.substr(static_cast<size_t>(14 - 2 * i), 2), nullptr, 16));
  }
  FUZZ_CHECK(rom[0] == 0x01 && Crc8(rom, 8) == 0);
  for (size_t i = 0; i < 6; ++i) FUZZ_CHECK(rom[1 + i] == (i < numberBytes ? sectorData[i] : 0));
  return 0;
}
