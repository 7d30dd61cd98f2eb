// usersData.data on disk: scanning it in blocks for the codes already issued and appending a new
// one, with the outcome returned rather than shown, so the caller decides what the user sees.
#pragma once

#include <windows.h>

#include <cstdint>

#include "protocol/user_codes.h"

inline constexpr char kUsersDataFileName[] = "usersData.data";

enum UsersDataStatus : int {
  kUsersDataRecorded = 0,         // the code was new and has been appended
  kUsersDataAlreadyRecorded = 1,  // the code is in the file; nothing written
  kUsersDataOpenFailed,           // missing, locked or read-only: nothing checked or written
  kUsersDataReadFailed,           // a read failed part way, or its codes did not fit in memory
                                  // (ERROR_NOT_ENOUGH_MEMORY): nothing written
  kUsersDataWriteFailed,          // the append failed: no part of the code is recorded
  kUsersDataNoNewCode,            // generation: every candidate was already recorded
};

struct UsersDataOutcome {
  UsersDataStatus status;
  DWORD error;  // GetLastError of a failed open, read or write, else 0
};

// Appends the code of `data` (bytes 0 to 4) unless the file already holds it.
UsersDataOutcome RecordSectorDataIn(const char* path, const uint8_t data[7]);

// Draws sector data from `rng` until its code is not in the file, trying at most `maxAttempts`
// candidates, and appends it. Only a code that has been recorded is handed out: on any other
// outcome `data` is left as it was.
UsersDataOutcome GenerateUniqueSectorDataIn(const char* path, MsRand& rng, int maxAttempts,
                                            uint8_t data[7]);
