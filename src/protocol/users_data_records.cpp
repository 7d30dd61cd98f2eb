// The byte rules of usersData.data, shared by the generation of unique codes and its tests.
// A file that ends inside a run of digits gets a blank first, so the new code stays whole.
#include "protocol/users_data_records.h"

namespace {

int HexDigitValue(uint8_t byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

}  // namespace

uint64_t SectorDataCode(const uint8_t data[7]) {
  uint64_t code = 0;
  for (int i = 0; i < 5; ++i) code = (code << 8) | data[i];
  return code;
}

void ScanUsersData(UsersDataScan& scan, const uint8_t* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    int digit = HexDigitValue(bytes[i]);
    if (digit < 0) {
      scan.pending = 0;
      scan.pendingDigits = 0;
      continue;
    }
    scan.pending = (scan.pending << 4) | static_cast<uint64_t>(digit);
    if (++scan.pendingDigits == kUsersDataRecordDigits) {
      scan.codes.push_back(scan.pending);
      ++scan.recordCount;
      scan.pending = 0;
      scan.pendingDigits = 0;
    }
  }
}

size_t UsersDataAppendText(const UsersDataScan& scan, uint64_t code, char out[12]) {
  static const char kDigits[] = "0123456789ABCDEF";
  size_t length = 0;
  if (scan.recordCount > 0 && scan.recordCount % kUsersDataRecordsPerLine == 0) {
    out[length++] = '\r';
    out[length++] = '\n';
  } else if (scan.recordCount > 0 || scan.pendingDigits > 0) {
    out[length++] = ' ';
  }
  for (int shift = 4 * (kUsersDataRecordDigits - 1); shift >= 0; shift -= 4) {
    out[length++] = kDigits[(code >> shift) & 0xF];
  }
  return length;
}
