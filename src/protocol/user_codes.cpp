// A linear congruential generator (state = state * 214013 + 2531011, value = bits 16..30) seeded
// from the local time; keys and data drawn as byte pairs (value >> 8, value & 0xFF), drawing on from
// the same generator after a collision; and the byte rules of usersData.data: a file that ends
// inside a run of digits gets a blank first, so the new code stays whole.
#include "protocol/user_codes.h"

#include <algorithm>

#include "base/hex_text.h"

namespace {

// The value of every byte as a record digit: 0-9 and A-F only, -1 for any other byte.
struct DigitTable {
  int8_t value[256];
  constexpr DigitTable() : value() {
    for (int i = 0; i < 256; ++i) value[i] = -1;
    for (int i = 0; i < 10; ++i) value['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) value['A' + i] = static_cast<int8_t>(10 + i);
  }
};
constexpr DigitTable kDigitValue;

void DrawPairs(MsRand& rng, uint8_t* bytes, int pairs) {
  for (int i = 0; i < pairs; ++i) {
    int value = NextMsRand(rng);
    bytes[2 * i] = static_cast<uint8_t>(value >> 8);
    bytes[2 * i + 1] = static_cast<uint8_t>(value & 0xFF);
  }
}

}  // namespace

void SeedMsRand(MsRand& rng, uint32_t seed) { rng.state = seed; }

int NextMsRand(MsRand& rng) {
  rng.state = rng.state * 214013u + 2531011u;
  return static_cast<int>((rng.state >> 16) & 0x7FFF);
}

uint32_t LocalTimeSeed(int second, int millisecond) {
  return static_cast<uint32_t>(second * 1000 + millisecond);
}

uint64_t SectorDataCode(const uint8_t data[7]) {
  uint64_t code = 0;
  for (int i = 0; i < 5; ++i) code = (code << 8) | data[i];
  return code;
}

void ScanUsersData(UsersDataScan& scan, const uint8_t* bytes, size_t length) {
  // A table look-up and locals: the file can hold hundreds of thousands of records.
  uint64_t pending = scan.pending;
  int digits = scan.pendingDigits;
  for (size_t i = 0; i < length; ++i) {
    int digit = kDigitValue.value[bytes[i]];
    if (digit < 0) {
      pending = 0;
      digits = 0;
      continue;
    }
    pending = (pending << 4) | static_cast<uint64_t>(digit);
    if (++digits == kUsersDataRecordDigits) {
      scan.codes.push_back(pending);
      ++scan.recordCount;
      pending = 0;
      digits = 0;
    }
  }
  scan.pending = pending;
  scan.pendingDigits = digits;
}

size_t UsersDataCodesToReserve(uint64_t fileSize) {
  constexpr uint64_t kMostReserved = 1 << 16;
  const uint64_t codes = fileSize / (kUsersDataRecordDigits + 1) + 1;
  return static_cast<size_t>(codes < kMostReserved ? codes : kMostReserved);
}

size_t UsersDataAppendText(const UsersDataScan& scan, uint64_t code, char out[12]) {
  size_t length = 0;
  if (scan.recordCount > 0 && scan.recordCount % kUsersDataRecordsPerLine == 0) {
    out[length++] = '\r';
    out[length++] = '\n';
  } else if (scan.recordCount > 0 || scan.pendingDigits > 0) {
    out[length++] = ' ';
  }
  for (int shift = 4 * (kUsersDataRecordDigits - 1); shift >= 0; shift -= 4) {
    out[length++] = kHexDigits[(code >> shift) & 0xF];
  }
  return length;
}

void DrawRandomKey(MsRand& rng, uint8_t key[6]) { DrawPairs(rng, key, 3); }

void DrawSectorData(MsRand& rng, uint8_t data[7]) {
  DrawPairs(rng, data, 3);
  data[6] = static_cast<uint8_t>(NextMsRand(rng) >> 8);
}

bool DrawUniqueSectorData(MsRand& rng, std::vector<uint64_t>& recordedCodes, int maxAttempts,
                          uint8_t data[7]) {
  // The first draw is nearly always new: a plain search costs less than sorting for it.
  bool sorted = false;
  for (int attempt = 0; attempt < maxAttempts; ++attempt) {
    DrawSectorData(rng, data);
    uint64_t code = SectorDataCode(data);
    bool recorded =
        sorted ? std::binary_search(recordedCodes.begin(), recordedCodes.end(), code)
               : std::find(recordedCodes.begin(), recordedCodes.end(), code) != recordedCodes.end();
    if (!recorded) return true;
    if (!sorted) {
      std::sort(recordedCodes.begin(), recordedCodes.end());
      sorted = true;
    }
  }
  return false;
}
