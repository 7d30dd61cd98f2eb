// Times one unique-data generation (open, scan, draw, append) against usersData.data files that
// already hold 1,000, 10,000 and 100,000 codes, in a temporary folder, and prints the figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/data_generation.h"
#include "protocol/users_data_records.h"
#include "protocol/win/users_data_file.h"

namespace {

constexpr int kRuns = 9;

std::string RecordedFile(int records) {
  MsRand rng;
  SeedMsRand(rng, 12345);
  std::string file;
  UsersDataScan scan;
  for (int i = 0; i < records; ++i) {
    uint8_t data[7];
    DrawSectorData(rng, data);
    char text[12];
    size_t n = UsersDataAppendText(scan, SectorDataCode(data), text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
  return file;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(f);
  return ok;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "keyloom_bench_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\usersData.data";

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::printf("%10s %10s %10s %10s %10s  (%d generations each)\n", "codes", "bytes", "min ms",
              "median ms", "max ms", kRuns);
  int failures = 0;
  for (int records : {1000, 10000, 100000}) {
    std::string file = RecordedFile(records);
    if (!WriteWhole(path, file)) {
      std::printf("cannot write %s\n", path.c_str());
      return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      MsRand rng;
      SeedMsRand(rng, 1000u + static_cast<uint32_t>(run));
      uint8_t data[7];
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      UsersDataOutcome outcome = GenerateUniqueSectorDataIn(path.c_str(), rng, kUniqueDataAttempts, data);
      QueryPerformanceCounter(&end);
      if (outcome.status != kUsersDataRecorded) ++failures;
      times.push_back(Milliseconds(start, end, frequency));
    }
    std::sort(times.begin(), times.end());
    std::printf("%10d %10zu %10.2f %10.2f %10.2f\n", records, file.size(), times.front(),
                times[times.size() / 2], times.back());
  }
  DeleteFileA(path.c_str());
  RemoveDirectoryA(dir.c_str());
  if (failures) std::printf("%d generations did not record a new code\n", failures);
  return failures ? 1 : 0;
}
