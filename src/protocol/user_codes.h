// The user codes: the program's own pseudo-random generator (the Windows C runtime's srand/rand,
// so native and Windows builds draw the same numbers), the key and sector data drawn from it, and
// usersData.data's bytes, the record of every code issued. Byte pairs come from values 0..32767,
// so bytes 0, 2, 4 (and 6 of the data) are never above 0x7F.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MsRand {
  uint32_t state = 1;
};

void SeedMsRand(MsRand& rng, uint32_t seed);
// The next value, 0..32767.
int NextMsRand(MsRand& rng);
// The seed taken from the local time: second * 1000 + millisecond, one of 60,000.
uint32_t LocalTimeSeed(int second, int millisecond);

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
