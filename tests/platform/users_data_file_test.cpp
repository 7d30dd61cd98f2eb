// usersData.data on a real Windows file system under Wine: block-wise scans across block
// boundaries, the exact bytes appended, and the outcomes of a file that cannot be checked, with
// no code handed out then.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "protocol/user_codes.h"
#include "protocol/win/users_data_file.h"

namespace {

// While set, every allocation of this test program above the limit fails, as it does on a
// machine whose memory runs short.
std::atomic<size_t> g_allocationLimit{SIZE_MAX};

struct AllocationLimit {
  explicit AllocationLimit(size_t bytes) { g_allocationLimit = bytes; }
  ~AllocationLimit() { g_allocationLimit = SIZE_MAX; }
};

}  // namespace

// The program's allocations all come here: replacing the global operator new is the way C++
// gives a program to choose how memory is found.
void* operator new(size_t size) {
  if (size > g_allocationLimit) throw std::bad_alloc();
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  throw std::bad_alloc();
}

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

// The file as the two operations find it, and what both must come to.
enum class FileState { kMissing, kPresent, kHeld, kSparse };

struct FileCase {
  const char* name;
  FileState state;
  size_t allocationLimit;
  UsersDataStatus status;
  DWORD error;
};

// A file that cannot be opened, or whose codes do not fit in memory, gets no code handed out or
// written, and is never created. A sparse file claims 64 MiB: room for its codes is not taken on
// the word of its size, so the one code it really holds is read with memory to spare.
const FileCase kFileCases[] = {
    {"missing", FileState::kMissing, SIZE_MAX, kUsersDataOpenFailed, ERROR_FILE_NOT_FOUND},
    {"held by another program", FileState::kHeld, SIZE_MAX, kUsersDataOpenFailed, ERROR_SHARING_VIOLATION},
    {"no memory", FileState::kPresent, 0, kUsersDataReadFailed, ERROR_NOT_ENOUGH_MEMORY},
    {"sparse, memory short", FileState::kSparse, 4 << 20, kUsersDataRecorded, 0},
};

TEST_F(UsersDataFile, AFileThatCannotBeCheckedGetsNoCodeHandedOut) {
  for (const FileCase& c : kFileCases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(path_.c_str());
    if (c.state != FileState::kMissing) Write("0123456789");
    if (c.state == FileState::kSparse) {
      HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      LARGE_INTEGER size;
      size.QuadPart = 64ll << 20;
      EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
      CloseHandle(file);
    }
    const std::string before = Read();
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.state == FileState::kHeld) {
      holder = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    }

    MsRand rng;
    SeedMsRand(rng, 1);
    const uint8_t shown[7] = {1, 2, 3, 4, 5, 6, 7};
    uint8_t data[7];
    std::memcpy(data, shown, sizeof data);
    uint8_t other[7];
    DataOfCode(0x7777777777, other);
    UsersDataOutcome generated, recorded;
    {
      AllocationLimit limit(c.allocationLimit);
      generated = GenerateUniqueSectorDataIn(path_.c_str(), rng, kUniqueDataAttempts, data);
      recorded = RecordSectorDataIn(path_.c_str(), other);
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_EQ(generated.status, c.status);
    EXPECT_EQ(generated.error, c.error);
    EXPECT_EQ(recorded.status, c.status);
    EXPECT_EQ(recorded.error, c.error);
    const std::string after = Read();
    if (c.status != kUsersDataRecorded) {
      EXPECT_EQ(std::memcmp(data, shown, sizeof data), 0) << "a code was handed out unchecked";
      EXPECT_EQ(after, before);
      continue;
    }
    // The file's own code was read and counted: each new code follows it after a blank.
    char text[12];
    UsersDataScan scan;
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(before.data()), before.size());
    std::string appended(text, UsersDataAppendText(scan, SectorDataCode(data), text));
    appended += " 7777777777";
    ASSERT_EQ(after.size(), before.size() + appended.size());
    EXPECT_EQ(after.substr(before.size()), appended);
    EXPECT_EQ(scan.recordCount, 1u);
  }
}

}  // namespace
