// Times one unique-data generation (open, scan, draw, append) against usersData.data files that
// already hold 1,000 to 1,000,000 codes, in a temporary folder, next to the straightforward way
// of doing the same: reading the file one byte per ReadFile call and comparing every record; and
// one card journal append to journals of 1 and 100,000 lines. Prints a table, and "RESULT name
// value" lines for scripts/bench.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "protocol/card_journal.h"
#include "protocol/user_codes.h"
#include "protocol/win/card_journal_file.h"
#include "protocol/win/users_data_file.h"
#include "ui/ui_text.h"

namespace {

struct Size {
  int records;
  int runs;           // generations timed the program's way
  int referenceRuns;  // and the straightforward way, which is far slower
};
constexpr Size kSizes[] = {{1000, 9, 5}, {10000, 9, 5}, {100000, 9, 3}, {1000000, 5, 1}};

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

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool IsRecordDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The straightforward generation: one byte per ReadFile call, each complete record compared
// with the candidate as text, a new candidate means a new pass over the file; then the append.
bool StraightforwardGeneration(const char* path, MsRand& rng) {
  for (int attempt = 0; attempt < kUniqueDataAttempts; ++attempt) {
    uint8_t data[7];
    DrawSectorData(rng, data);
    char code[11];
    std::snprintf(code, sizeof code, "%02X%02X%02X%02X%02X", data[0], data[1], data[2], data[3], data[4]);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char record[11] = {};
    int length = 0;
    unsigned count = 0;
    bool found = false;
    for (;;) {
      char byte = 0;
      DWORD got = 0;
      if (!ReadFile(file, &byte, 1, &got, nullptr)) {
        CloseHandle(file);
        return false;
      }
      if (got == 0) break;
      if (!IsRecordDigit(byte)) {
        length = 0;
        continue;
      }
      record[length++] = byte;
      if (length == 10) {
        ++count;
        length = 0;
        if (std::memcmp(record, code, 10) == 0) {
          found = true;
          break;
        }
      }
    }
    if (!found) {
      std::string text = count == 0 ? "" : count % 10 == 0 ? "\r\n" : " ";
      text += code;
      DWORD written = 0;
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    CloseHandle(file);
    if (!found) return true;
  }
  return false;
}

double MedianOf(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The line of a user card cleared, as the program journals it.
std::string ClearedCardLine() {
  JournalEntry entry;
  entry.time = {2026, 12, 8, 10, 30, 0};
  entry.operation = "Clear";
  entry.cardType = "User";
  entry.sector = 1;
  entry.block = 0;
  return JournalLine(entry);
}

// The median time of one card's line appended to a journal that already holds `lines` lines, in
// `dir`, which becomes the working folder; -1 when an append fails.
double JournalAppendMs(const std::string& dir, int lines) {
  SetCurrentDirectoryA(dir.c_str());
  DeleteFileA(kJournalFileName);
  const std::string cardLine = ClearedCardLine();
  if (AppendToJournal(cardLine, UiText.journalHeader).status != JournalStatus::kWritten) return -1;
  std::string bytes;
  {
    HANDLE f = CreateFileA(kJournalFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return -1;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD got = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(f);
  }
  // The byte-order mark and header the first append wrote, then its line as stored again and again.
  const size_t lineStart = bytes.rfind(std::string("\n\0", 2), bytes.size() - 3) + 2;
  const std::string storedLine = bytes.substr(lineStart);
  for (int i = 1; i < lines; ++i) bytes += storedLine;
  if (!WriteWhole(kJournalFileName, bytes)) return -1;
  std::vector<double> times;
  for (int run = 0; run < 9; ++run) {
    const double start = NowMs();
    if (AppendToJournal(cardLine, UiText.journalHeader).status != JournalStatus::kWritten) return -1;
    times.push_back(NowMs() - start);
  }
  DeleteFileA(kJournalFileName);
  return MedianOf(times);
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "keyloom_bench_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\usersData.data";

  std::printf("%10s %10s %12s %12s %14s\n", "codes", "bytes", "median ms", "ms/1k codes", "byte-wise ms");
  int failures = 0;
  for (const Size& size : kSizes) {
    std::string file = RecordedFile(size.records);
    if (!WriteWhole(path, file)) {
      std::printf("cannot write %s\n", path.c_str());
      return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < size.runs; ++run) {
      MsRand rng;
      SeedMsRand(rng, 1000u + static_cast<uint32_t>(run));
      uint8_t data[7];
      const double start = NowMs();
      UsersDataOutcome outcome = GenerateUniqueSectorDataIn(path.c_str(), rng, kUniqueDataAttempts, data);
      times.push_back(NowMs() - start);
      if (outcome.status != kUsersDataRecorded) ++failures;
    }
    std::vector<double> referenceTimes;
    for (int run = 0; run < size.referenceRuns; ++run) {
      MsRand rng;
      SeedMsRand(rng, 2000u + static_cast<uint32_t>(run));
      const double start = NowMs();
      if (!StraightforwardGeneration(path.c_str(), rng)) ++failures;
      referenceTimes.push_back(NowMs() - start);
    }
    const double median = MedianOf(times), reference = MedianOf(referenceTimes);
    std::printf("%10d %10zu %12.2f %12.4f %14.1f\n", size.records, file.size(), median,
                median * 1000.0 / size.records, reference);
    std::printf("RESULT unique_%d_ms %.3f\nRESULT unique_bytewise_%d_ms %.3f\n", size.records, median,
                size.records, reference);
    std::fflush(stdout);
  }
  DeleteFileA(path.c_str());
  g_language = kEnglish;
  SelectUiText();
  for (int lines : {1, 100000}) {
    const double append = JournalAppendMs(dir, lines);
    if (append < 0) ++failures;
    std::printf("card journal append with %d lines: %.2f ms\nRESULT journal_append_%d_ms %.3f\n", lines, append, lines,
                append);
  }
  SetCurrentDirectoryA(temp);
  RemoveDirectoryA(dir.c_str());
  if (failures) std::printf("%d generations did not record a new code\n", failures);
  return failures ? 1 : 0;
}
