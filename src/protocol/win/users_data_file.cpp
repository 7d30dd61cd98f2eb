// Opens usersData.data without sharing, only if it exists, reads it in 64 KiB blocks through the
// record scanner, and appends at its end. The file is held open from the scan to the append.
#include "protocol/win/users_data_file.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <vector>

#include "base/win/handles.h"
#include "protocol/user_codes.h"

namespace {

constexpr DWORD kReadBlockSize = 64 * 1024;

HANDLE OpenUsersData(const char* path) {
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// False with the error code when a read fails.
bool ScanFile(HANDLE file, UsersDataScan& scan, DWORD* error) {
  std::vector<uint8_t> block(kReadBlockSize);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, block.data(), kReadBlockSize, &got, nullptr)) {
      *error = GetLastError();
      return false;
    }
    if (got == 0) return true;
    ScanUsersData(scan, block.data(), got);
  }
}

// A code that could not be appended is not recorded, so the caller must hear of it. It is on
// the disk before this returns, so that a card written with it after a power cut is still
// recorded; an append cut short by a full disk is taken back, so that no part of a record stays.
UsersDataOutcome AppendCode(HANDLE file, const UsersDataScan& scan, uint64_t code) {
  char text[12];
  const DWORD length = static_cast<DWORD>(UsersDataAppendText(scan, code, text));
  LARGE_INTEGER zero = {};
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(file, zero, &end, FILE_END)) return {kUsersDataWriteFailed, GetLastError()};
  // A short write is continued: the call for the rest gives the reason it stopped.
  DWORD done = 0;
  DWORD error = ERROR_SUCCESS;
  while (done < length && error == ERROR_SUCCESS) {
    DWORD written = 0;
    if (!WriteFile(file, text + done, length - done, &written, nullptr)) {
      error = GetLastError();
    } else if (written == 0) {
      error = ERROR_WRITE_FAULT;
    }
    done += written;
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (error == ERROR_SUCCESS) return {kUsersDataRecorded, 0};
  SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  return {kUsersDataWriteFailed, error};
}

// Opens and scans; on failure the file is closed again and `outcome` says why.
OwnedHandle OpenAndScan(const char* path, UsersDataScan& scan, UsersDataOutcome& outcome) {
  outcome = {kUsersDataRecorded, 0};
  OwnedHandle file(OpenUsersData(path));
  if (!file.Valid()) {
    outcome = {kUsersDataOpenFailed, GetLastError()};
    return file;
  }
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.Get(), &size)) scan.codes.reserve(UsersDataCodesToReserve(size.QuadPart));
  DWORD error = 0;
  if (!ScanFile(file.Get(), scan, &error)) {
    outcome = {kUsersDataReadFailed, error};
    return OwnedHandle();
  }
  return file;
}

// Runs an operation on the file; one whose codes do not fit in the memory there is ends as a
// failed read, its file closed on the way out, before anything is written.
template <typename Operation>
UsersDataOutcome WithinMemory(Operation operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return {kUsersDataReadFailed, ERROR_NOT_ENOUGH_MEMORY};
}

UsersDataOutcome Record(const char* path, const uint8_t data[7]) {
  UsersDataScan scan;
  UsersDataOutcome outcome;
  const OwnedHandle file = OpenAndScan(path, scan, outcome);
  if (!file.Valid()) return outcome;
  uint64_t code = SectorDataCode(data);
  if (std::find(scan.codes.begin(), scan.codes.end(), code) != scan.codes.end()) {
    outcome.status = kUsersDataAlreadyRecorded;
  } else {
    outcome = AppendCode(file.Get(), scan, code);
  }
  return outcome;
}

UsersDataOutcome Generate(const char* path, MsRand& rng, int maxAttempts, uint8_t data[7]) {
  UsersDataScan scan;
  UsersDataOutcome outcome;
  const OwnedHandle file = OpenAndScan(path, scan, outcome);
  if (!file.Valid()) return outcome;
  uint8_t candidate[7];
  if (!DrawUniqueSectorData(rng, scan.codes, maxAttempts, candidate)) return {kUsersDataNoNewCode, 0};
  outcome = AppendCode(file.Get(), scan, SectorDataCode(candidate));
  if (outcome.status == kUsersDataRecorded) std::copy(candidate, candidate + 7, data);
  return outcome;
}

}  // namespace

UsersDataOutcome RecordSectorDataIn(const char* path, const uint8_t data[7]) {
  return WithinMemory([&] { return Record(path, data); });
}

UsersDataOutcome GenerateUniqueSectorDataIn(const char* path, MsRand& rng, int maxAttempts,
                                            uint8_t data[7]) {
  return WithinMemory([&] { return Generate(path, rng, maxAttempts, data); });
}
