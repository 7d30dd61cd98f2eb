// The usersData.data scanner fed in blocks of every size against a plain scan of the whole file,
// and the text appended for a new code, after which a scan finds that code as the last record.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "protocol/user_codes.h"

namespace {

// Runs of 0-9 and A-F, cut every ten digits; a shorter run is no record.
std::vector<uint64_t> ReferenceScan(const std::string& file) {
  std::vector<uint64_t> codes;
  std::string run;
  for (char c : file + '\n') {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) {
      run += c;
      continue;
    }
    for (size_t at = 0; at + 10 <= run.size(); at += 10) {
      codes.push_back(std::stoull(run.substr(at, 10), nullptr, 16));
    }
    run.clear();
  }
  return codes;
}

UsersDataScan ScanInBlocks(const std::string& file, size_t blockSize) {
  UsersDataScan scan;
  for (size_t at = 0; at < file.size(); at += blockSize) {
    const size_t n = std::min(blockSize, file.size() - at);
    // Each block in a buffer of its own size, so a read past it is caught.
    std::vector<uint8_t> block(file.begin() + at, file.begin() + at + n);
    ScanUsersData(scan, block.data(), block.size());
  }
  return scan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  // The first byte chooses the block size, the next five the code to append.
  const size_t blockSize = 1 + data[0] % 64;
  uint64_t code = 0;
  for (int i = 1; i <= 5; ++i) code = code << 8 | data[i];
  const std::string file(reinterpret_cast<const char*>(data) + 6, size - 6);

  const UsersDataScan scan = ScanInBlocks(file, blockSize);
  const std::vector<uint64_t> expected = ReferenceScan(file);
  FUZZ_CHECK(scan.codes == expected);
  FUZZ_CHECK(scan.recordCount == expected.size());
  FUZZ_CHECK(scan.pendingDigits >= 0 && scan.pendingDigits < kUsersDataRecordDigits);

  char text[12];
  const size_t n = UsersDataAppendText(scan, code, text);
  FUZZ_CHECK(n >= 10 && n <= 12);
  const UsersDataScan after = ScanInBlocks(file + std::string(text, n), blockSize);
  FUZZ_CHECK(after.recordCount == scan.recordCount + 1);
  FUZZ_CHECK(after.codes.back() == code && after.pendingDigits == 0);
  // A tenth record is followed by a line end, others by a blank; an empty file takes no separator.
  if (scan.recordCount > 0 && scan.recordCount % kUsersDataRecordsPerLine == 0) {
    FUZZ_CHECK(std::memcmp(text, "\r\n", 2) == 0);
  }
  return 0;
}
