// Seeds the generator from the local time, runs the usersData.data steps and turns their failures
// into the program's error messages; the caller puts the values on the form.
#include "protocol/win/form_generators.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "protocol/data_generation.h"
#include "protocol/win/users_data_file.h"
#include "ui/ui_text.h"
#include "ui/win/message_box.h"

namespace {

void SeedFromLocalTime(MsRand& rng) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  SeedMsRand(rng, LocalTimeSeed(now.wSecond, now.wMilliseconds));
}

void ReportWithErrorCode(const char* message, DWORD error) {
  Report(WithErrorCode(ErrorCodeForm::kGetLastError, message, error).c_str(), kMessageError);
}

void ReportUsersDataTrouble(const UsersDataOutcome& outcome) {
  switch (outcome.status) {
    case kUsersDataOpenFailed:
      Report(UiText.msgUsersDataOpenError, kMessageError);
      break;
    case kUsersDataReadFailed:
      ReportWithErrorCode(UiText.msgUsersDataReadError, outcome.error);
      break;
    case kUsersDataWriteFailed:
      ReportWithErrorCode(UiText.msgUsersDataWriteError, outcome.error);
      break;
    case kUsersDataNoNewCode:
      Report(UiText.msgUsersDataNoNewCode, kMessageError);
      break;
    case kUsersDataRecorded:
    case kUsersDataAlreadyRecorded:
      break;
  }
}

}  // namespace

void GenerateRandomKey(uint8_t key[6]) {
  MsRand rng;
  SeedFromLocalTime(rng);
  DrawRandomKey(rng, key);
}

bool GenerateUniqueSectorData(uint8_t data[7]) {
  MsRand rng;
  SeedFromLocalTime(rng);
  uint8_t candidate[7];
  UsersDataOutcome outcome =
      GenerateUniqueSectorDataIn(kUsersDataFileName, rng, kUniqueDataAttempts, candidate);
  ReportUsersDataTrouble(outcome);
  // Only a code checked against every issued one and recorded is handed out: one that was not
  // checked may be on a card already, and one that was not recorded could be drawn again, and
  // two cards would carry one credential.
  if (outcome.status != kUsersDataRecorded) return false;
  std::memcpy(data, candidate, sizeof candidate);
  return true;
}
