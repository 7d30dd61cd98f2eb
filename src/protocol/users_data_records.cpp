// The byte rules of usersData.data, shared by the generation of unique codes and its tests.
// A file that ends inside a run of digits gets a blank first, so the new code stays whole.
#include "protocol/users_data_records.h"

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

}  // namespace

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
