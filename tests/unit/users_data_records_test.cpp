// The rules of usersData.data: which bytes make a recorded code, how records are cut and what is
// appended for the next code, including a file scanned in blocks of any size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/user_codes.h"

namespace {

using namespace std::string_literals;

UsersDataScan Scan(const std::string& text, size_t blockSize = 4096) {
  UsersDataScan scan;
  for (size_t at = 0; at < text.size(); at += blockSize) {
    size_t n = std::min(blockSize, text.size() - at);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text.data() + at), n);
  }
  return scan;
}

bool Holds(const UsersDataScan& scan, uint64_t code) {
  return std::find(scan.codes.begin(), scan.codes.end(), code) != scan.codes.end();
}

std::string Append(const UsersDataScan& scan, uint64_t code) {
  char out[12];
  return std::string(out, UsersDataAppendText(scan, code, out));
}

TEST(UsersDataRecords, ScanRules) {
  const uint64_t code = 0x7F01234567;
  struct Case {
    const char* name;
    std::string text;
    bool holds;
    uint32_t records;
  };
  const Case cases[] = {
      {"empty file", "", false, 0},
      {"the code alone", "7F01234567", true, 1},
      {"the code in lower case does not block", "7f01234567", false, 0},
      {"lower case inside a run cuts it", "7F0123456a7F01234567", true, 1},
      {"second record on a line", "0000000000 7F01234567", true, 2},
      {"after CR LF", "0000000000\r\n7F01234567", true, 2},
      {"run of twenty digits is two records", "00000000007F01234567", true, 2},
      {"run cut at ten, not at the code", "07F01234567", false, 1},
      {"short record dropped", "7F0123456 7", false, 0},
      {"other bytes separate", "AAAAAAAAAA\t7F01234567-1", true, 2},
      // Not cut at the NUL (no record then), nor joining its neighbours (two records then).
      {"a NUL separates", "AAAAA\0AAAAA\t7F01234567"s, true, 1},
      {"trailing digits do not count", "7F012345", false, 0},
  };
  for (const Case& c : cases) {
    for (size_t block : {size_t{1}, size_t{3}, size_t{4096}}) {
      UsersDataScan scan = Scan(c.text, block);
      EXPECT_EQ(Holds(scan, code), c.holds) << c.name << " in blocks of " << block;
      EXPECT_EQ(scan.recordCount, c.records) << c.name << " in blocks of " << block;
    }
  }
}

TEST(UsersDataRecords, CodeIsBytesZeroToFourOnly) {
  const uint8_t a[7] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0x00, 0x00};
  const uint8_t b[7] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xFF, 0x7F};
  EXPECT_EQ(SectorDataCode(a), 0x123456789Au);
  EXPECT_EQ(SectorDataCode(a), SectorDataCode(b));
  EXPECT_TRUE(Holds(Scan(Append(Scan(""), SectorDataCode(a))), SectorDataCode(b)));
}

TEST(UsersDataRecords, WriterSeparators) {
  struct Case {
    const char* file;
    const char* appended;
  };
  const std::string nine = "0000000001 0000000002 0000000003 0000000004 0000000005 0000000006 "
                           "0000000007 0000000008 0000000009";
  const std::string ten = nine + " 000000000A";
  const std::string eleven = ten + "\r\n000000000B";
  const Case cases[] = {
      {"", "ABCDEF0123"},                                 // first record: no separator
      {"0000000001", " ABCDEF0123"},                      // records 2 to 10: a blank
      {nine.c_str(), " ABCDEF0123"},
      {ten.c_str(), "\r\nABCDEF0123"},                    // the 11th: CR LF
      {eleven.c_str(), " ABCDEF0123"},
      {"12345", " ABCDEF0123"},                           // never glued to a digit run
      {"abcdefabcd", "ABCDEF0123"},                       // lower case is no record
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Append(Scan(c.file), 0xABCDEF0123), c.appended) << c.file;
  }
}

// Codes appended one after the other make lines of ten records, 109 characters each.
TEST(UsersDataRecords, AppendedCodesMakeLinesOfTen) {
  std::string file;
  for (uint64_t code = 1; code <= 25; ++code) file += Append(Scan(file), code);
  std::vector<size_t> lineLengths;
  for (size_t start = 0;;) {
    const size_t end = file.find("\r\n", start);
    lineLengths.push_back((end == std::string::npos ? file.size() : end) - start);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  EXPECT_EQ(lineLengths, (std::vector<size_t>{109, 109, 54}));
  EXPECT_EQ(Scan(file).recordCount, 25u);
}

}  // namespace
