// usersData.data on a real Windows file system under Wine: block-wise scans across block
// boundaries, the exact bytes appended, and the outcomes of a missing or locked file.
#include <gtest/gtest.h>

#include <windows.h>

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
    dir_ = std::string(temp) + "keyloom_users_" + std::to_string(GetCurrentProcessId()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    path_ = dir_ + "\\usersData.data";
  }
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  void Write(const std::string& bytes) {
    HANDLE f = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  std::string Read() {
    std::string bytes;
    HANDLE f = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
  }
  std::string dir_;
  std::string path_;
};

// Sector data whose code is the given 40-bit number.
void DataOfCode(uint64_t code, uint8_t data[7]) {
  for (int i = 0; i < 5; ++i) data[i] = static_cast<uint8_t>(code >> (8 * (4 - i)));
  data[5] = 0xEE;
  data[6] = 0x7E;
}

TEST_F(UsersDataFile, RecordsAreAppendedInTheExactFormat) {
  Write("");
  std::string expected;
  for (uint64_t n = 1; n <= 12; ++n) {
    uint8_t data[7];
    DataOfCode(n * 0x1111111111, data);
    UsersDataOutcome outcome = RecordSectorDataIn(path_.c_str(), data);
    EXPECT_EQ(outcome.status, kUsersDataRecorded) << n;
    char code[11];
    std::snprintf(code, sizeof code, "%010llX", static_cast<unsigned long long>(n * 0x1111111111));
    expected += (n == 1 ? "" : n == 11 ? "\r\n" : " ") + std::string(code);
  }
  EXPECT_EQ(Read(), expected);

  uint8_t again[7];
  DataOfCode(0x5555555555, again);
  again[5] = 0x00;  // bytes 5 and 6 do not make a code new
  EXPECT_EQ(RecordSectorDataIn(path_.c_str(), again).status, kUsersDataAlreadyRecorded);
  EXPECT_EQ(Read(), expected);
}

TEST_F(UsersDataFile, CodesAcrossBlockBoundariesAreFound) {
  std::string file;
  UsersDataScan scan;
  const int records = 20000;  // about 220 KB, several read blocks
  for (int i = 0; i < records; ++i) {
    char text[12];
    size_t n = UsersDataAppendText(scan, 0x0100000000ull + static_cast<uint64_t>(i) * 7919, text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
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

TEST_F(UsersDataFile, GenerationRecordsANewCodeAndSkipsRecordedOnes) {
  MsRand rng;
  SeedMsRand(rng, 4242);
  uint8_t first[7];
  DrawSectorData(rng, first);
  char code[12];
  Write(std::string(code, UsersDataAppendText(UsersDataScan{}, SectorDataCode(first), code)));

  SeedMsRand(rng, 4242);
  uint8_t data[7];
  UsersDataOutcome outcome = GenerateUniqueSectorDataIn(path_.c_str(), rng, kUniqueDataAttempts, data);
  EXPECT_EQ(outcome.status, kUsersDataRecorded);
  EXPECT_NE(SectorDataCode(data), SectorDataCode(first));
  UsersDataScan after;
  std::string bytes = Read();
  ScanUsersData(after, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_EQ(after.recordCount, 2u);
  EXPECT_EQ(after.codes[1], SectorDataCode(data));
  EXPECT_EQ(bytes[10], ' ');
}

TEST_F(UsersDataFile, GenerationGivesUpWhenEveryCandidateIsTaken) {
  MsRand rng;
  SeedMsRand(rng, 99);
  std::string file;
  UsersDataScan scan;
  for (int i = 0; i < 5; ++i) {
    uint8_t data[7];
    DrawSectorData(rng, data);
    char text[12];
    size_t n = UsersDataAppendText(scan, SectorDataCode(data), text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
  Write(file);
  SeedMsRand(rng, 99);
  uint8_t data[7];
  EXPECT_EQ(GenerateUniqueSectorDataIn(path_.c_str(), rng, 5, data).status, kUsersDataNoNewCode);
  EXPECT_EQ(Read(), file);
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
