// usersData.data on a real Windows file system under Wine: block-wise scans across block
// boundaries, the exact bytes appended, and the outcomes of a missing or locked file.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "protocol/data_generation.h"
#include "protocol/users_data_records.h"
#include "protocol/win/users_data_file.h"

namespace {

class UsersDataFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "keyloom_users_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    path_ = dir_ + "\\usersData.data";
    DeleteFileA(path_.c_str());
  }
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Read() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::string dir_;
  std::string path_;
};

// The file the program would have written for `count` codes drawn from `seed`.
std::string FileOfDrawnCodes(uint32_t seed, int count) {
  MsRand rng;
  SeedMsRand(rng, seed);
  std::string file;
  UsersDataScan scan;
  for (int i = 0; i < count; ++i) {
    uint8_t data[7];
    DrawSectorData(rng, data);
    char text[12];
    size_t n = UsersDataAppendText(scan, SectorDataCode(data), text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
  return file;
}

void DataOfCode(uint64_t code, uint8_t data[7]) {
  for (int i = 0; i < 5; ++i) data[i] = static_cast<uint8_t>(code >> (8 * (4 - i)));
  data[5] = 0xEE;
  data[6] = 0x7E;
}

TEST_F(UsersDataFile, RecordsAreAppendedInTheExactFormat) {
  Write("");
  for (uint64_t n = 1; n <= 12; ++n) {
    uint8_t data[7];
    DataOfCode(n * 0x1111111111, data);
    EXPECT_EQ(RecordSectorDataIn(path_.c_str(), data).status, kUsersDataRecorded) << n;
  }
  const std::string expected =
      "1111111111 2222222222 3333333333 4444444444 5555555555 6666666666 7777777777 8888888888 "
      "9999999999 AAAAAAAAAA\r\nBBBBBBBBBB CCCCCCCCCC";
  EXPECT_EQ(Read(), expected);

  uint8_t again[7];
  DataOfCode(0x5555555555, again);
  again[5] = 0x00;  // bytes 5 and 6 do not make a code new
  EXPECT_EQ(RecordSectorDataIn(path_.c_str(), again).status, kUsersDataAlreadyRecorded);
  EXPECT_EQ(Read(), expected);
}

TEST_F(UsersDataFile, CodesAcrossBlockBoundariesAreFound) {
  const std::string file = FileOfDrawnCodes(7, 20000);  // about 220 KB, several read blocks
  Write(file);
  for (size_t boundary : {size_t{65536}, size_t{131072}}) {
    size_t start = file.find_last_of(" \n", boundary) + 1;  // the record holding the boundary
    uint8_t data[7];
    DataOfCode(std::stoull(file.substr(start, 10), nullptr, 16), data);
    EXPECT_EQ(RecordSectorDataIn(path_.c_str(), data).status, kUsersDataAlreadyRecorded) << boundary;
  }
  uint8_t fresh[7];
  DataOfCode(0x7FFFFFFFFF, fresh);
  EXPECT_EQ(RecordSectorDataIn(path_.c_str(), fresh).status, kUsersDataRecorded);
  EXPECT_EQ(Read(), file + "\r\n7FFFFFFFFF");
}

TEST_F(UsersDataFile, GenerationSkipsRecordedCodesAndGivesUpWhenAllAreTaken) {
  const std::string firstFive = FileOfDrawnCodes(99, 5);
  Write(firstFive);
  MsRand rng;
  SeedMsRand(rng, 99);
  uint8_t data[7];
  EXPECT_EQ(GenerateUniqueSectorDataIn(path_.c_str(), rng, 5, data).status, kUsersDataNoNewCode);
  EXPECT_EQ(Read(), firstFive);

  SeedMsRand(rng, 99);
  EXPECT_EQ(GenerateUniqueSectorDataIn(path_.c_str(), rng, 6, data).status, kUsersDataRecorded);
  EXPECT_EQ(Read(), FileOfDrawnCodes(99, 6));
}

TEST_F(UsersDataFile, MissingOrLockedFileIsReportedAndNeverCreated) {
  MsRand rng;
  SeedMsRand(rng, 1);
  uint8_t data[7] = {};
  UsersDataOutcome missing = GenerateUniqueSectorDataIn(path_.c_str(), rng, kUniqueDataAttempts, data);
  EXPECT_EQ(missing.status, kUsersDataOpenFailed);
  EXPECT_EQ(missing.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(data[1], 41);  // the first draw is still handed out
  EXPECT_EQ(RecordSectorDataIn(path_.c_str(), data).status, kUsersDataOpenFailed);
  EXPECT_EQ(Read(), "<missing>");

  Write("0123456789");
  HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  UsersDataOutcome locked = RecordSectorDataIn(path_.c_str(), data);
  EXPECT_EQ(locked.status, kUsersDataOpenFailed);
  EXPECT_EQ(locked.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(holder);
  EXPECT_EQ(Read(), "0123456789");
}

}  // namespace
