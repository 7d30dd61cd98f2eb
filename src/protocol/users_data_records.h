// The record of issued user codes, usersData.data, over its bytes: the scan that collects the
// recorded codes (fed block by block) and the text that appends one more code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A code is sector data bytes 0 to 4, as a 40-bit number (byte 0 most significant); it is
// written as ten upper-case hexadecimal digits. Bytes 5 and 6 play no part.
uint64_t SectorDataCode(const uint8_t data[7]);

constexpr int kUsersDataRecordDigits = 10;
constexpr int kUsersDataRecordsPerLine = 10;

// The scan: only 0-9 and A-F count; any other byte ends the record so far and drops it when it
// is short; a run of digits is cut into records every ten digits.
struct UsersDataScan {
  uint64_t pending = 0;      // digits of the record being collected
  int pendingDigits = 0;
  uint32_t recordCount = 0;  // complete records seen
  std::vector<uint64_t> codes;  // every complete record, in file order
};

void ScanUsersData(UsersDataScan& scan, const uint8_t* bytes, size_t length);

// How many codes to make room for before a file of `fileSize` bytes is scanned: as many as it
// can hold, up to 65,536. The size is only what the file system says (a sparse file can claim
// terabytes); a file that really holds more codes makes the list grow as it is read.
size_t UsersDataCodesToReserve(uint64_t fileSize);

// The bytes to append for a new code after a scan of the whole file: no separator in an empty
// file, CR LF after every tenth record, a blank otherwise. `out` receives at most 12 bytes;
// the result is their count.
size_t UsersDataAppendText(const UsersDataScan& scan, uint64_t code, char out[12]);
