// The card buttons decided in the core and performed here: the form read, the frame written through
// the reader's link, the reply read back and judged, the result shown through the ui and journalled.
// Also the generators, which feed the user write, and the card journal's menu command.
#include "app/win/card_path.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/win/reader_link.h"
#include "protocol/card_journal.h"
#include "protocol/user_codes.h"
#include "protocol/win/card_journal_file.h"
#include "protocol/win/users_data_file.h"
#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

// The card command sent last, as its frame carried it: the card letter ('M' or 'U'), the operation
// ('w', 'r' or 'c'; 0 once its outcome has been taken) and the form it was built from.
struct SentCard {
  char card = 0;
  char operation = 0;
  CardSnapshot form;
};

CyclicRun g_run;
SentCard g_sent;
CardWait g_wait;
// The code of the last read or poll of the card wait that failed, for its report.
DWORD g_lineError = 0;

// What each card button starts: the run, the operation, and whether the user is asked first.
struct CardButton {
  int id;
  RunKind run;
  CardOperation operation;
  bool asksFirst;
};

constexpr CardButton kCardButtons[] = {
    {kIdWrite, kRunSingle, kCardWrite, false},
    {kIdRead, kRunSingle, kCardRead, false},
    {kIdClear, kRunSingle, kCardClear, true},
    {kIdWriteCyclically, kRunWriteCyclically, kCardWrite, false},
    {kIdClearCyclically, kRunClearCyclically, kCardClear, false},
};

// The caption table entry of each card reply message, by CardReplyMessage.
const char* UiTextTable::*const kReplyTexts[] = {
    nullptr,
    &UiTextTable::msgOperationSuccessful,
    &UiTextTable::msgMainBoardNoResponse,
    &UiTextTable::msgCardNotBrought,
    &UiTextTable::msgOperationFailed,
    &UiTextTable::msgCardTypeUnsupported,
};

CardSnapshot ReadCardSnapshot() {
  const FormSettings settings = ReadFormSettings();
  CardSnapshot form;
  form.cardType = settings.cardType;
  form.workMode = settings.workMode;
  std::copy(settings.radio, settings.radio + kSettingGroupCount, form.radio);
  form.generateBeforeWrite = settings.generateBeforeWrite;
  form.sectorNumber = g_form.sectorNumber;
  form.blockNumber = g_form.blockNumber;
  std::memcpy(form.systemKey, g_form.systemKey, sizeof form.systemKey);
  std::memcpy(form.sectorData, g_form.sectorData, sizeof form.sectorData);
  return form;
}

MsRand SeededFromLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  MsRand rng;
  SeedMsRand(rng, LocalTimeSeed(now.wSecond, now.wMilliseconds));
  return rng;
}

void ReportUsersDataTrouble(const UsersDataOutcome& outcome) {
  switch (outcome.status) {
    case kUsersDataOpenFailed:
      Report(UiText.msgUsersDataOpenError, kMessageError);
      break;
    case kUsersDataReadFailed:
      Report(WithErrorCode(ErrorCodeForm::kGetLastError, UiText.msgUsersDataReadError, outcome.error).c_str(),
             kMessageError);
      break;
    case kUsersDataWriteFailed:
      Report(WithErrorCode(ErrorCodeForm::kGetLastError, UiText.msgUsersDataWriteError, outcome.error).c_str(),
             kMessageError);
      break;
    case kUsersDataNoNewCode:
      Report(UiText.msgUsersDataNoNewCode, kMessageError);
      break;
    case kUsersDataRecorded:
    case kUsersDataAlreadyRecorded:
      break;
  }
}

// New sector data whose code is not yet in usersData.data, recorded there, onto the form. Only a
// code checked against every issued one and recorded is handed out: one that was not checked may
// be on a card already, and one that was not recorded could be drawn again, and two cards would
// carry one credential. False (reported, the form unchanged) when there is none: nothing is written.
bool FillUniqueSectorData() {
  MsRand rng = SeededFromLocalTime();
  uint8_t data[7];
  const UsersDataOutcome outcome = GenerateUniqueSectorDataIn(kUsersDataFileName, rng, kUniqueDataAttempts, data);
  ReportUsersDataTrouble(outcome);
  if (outcome.status != kUsersDataRecorded) return false;
  ShowSectorData(data);
  return true;
}

// Decides the operation on the form as it is, performs what that asks: the search, the generation
// of the data first, or the frame written; a failed write ends the link.
TimerId PerformCardOperation(CardOperation operation, bool waitRunning) {
  CardSnapshot form = ReadCardSnapshot();
  CardRequest request = RequestCard(operation, form, IsOpen(g_readerLink), waitRunning, false);
  if (request.kind == kCardRequestGenerate) {
    if (!FillUniqueSectorData()) return kTimerNone;
    form = ReadCardSnapshot();
    request = RequestCard(operation, form, IsOpen(g_readerLink), waitRunning, true);
  }
  if (request.kind == kCardRequestSearch) return kTimerSearchDelay;
  if (request.kind != kCardRequestSend) return kTimerNone;
  g_sent = {static_cast<char>(request.frame.bytes[3]), static_cast<char>(request.frame.bytes[4]), form};
  DWORD error = 0;
  if (!WriteCommand(g_readerLink, request.frame.bytes, kCommandFrameSize, &error)) {
    EndLinkAfterFailedWrite(error);
    return kTimerNone;
  }
  return kTimerCardWait;
}

// The words the form shows for a radio button of a reader setting.
const char* SettingWords(int setting, int checked) {
  const RadioGroup& buttons = kRadioGroups[kReaderSettingGroups[setting]];
  const FormControlRow& row = kFormControls[FormRowOfId(buttons.first + (checked < 0 ? 0 : checked))];
  return row.uiCaption != nullptr ? UiText.*row.uiCaption : row.caption;
}

// What the frame of the card carried, in the form's words of the moment.
JournalEntry EntryOf(const SentCard& sent) {
  JournalEntry entry;
  SYSTEMTIME now;
  GetLocalTime(&now);
  entry.time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  const bool master = sent.card == 'M';
  const bool write = sent.operation == 'w';
  const CardSnapshot& form = sent.form;
  entry.operation = write ? UiText.buttonWrite : UiText.buttonClear;
  entry.cardType = UiText.*kCardTypeItems[master ? kCardMaster : kCardUser];
  // A master clear carries nothing but its operation; a user clear names its sector and block.
  if (master && !write) return entry;
  entry.sector = form.sectorNumber;
  entry.block = form.blockNumber;
  entry.keyDescription = KeyRecordDescriptionOf(form.systemKey);
  if (!write) return entry;
  // A master block carries the first work mode when none is chosen; a user block carries none.
  const int workMode = master && form.workMode < 0 ? 0 : form.workMode;
  if (workMode >= 0) entry.workMode = UiText.*kWorkModeItems[workMode];
  if (master) {
    for (int setting = 0; setting < kSettingGroupCount; ++setting) {
      entry.settings[setting] = SettingWords(setting, form.radio[setting]);
    }
  } else if (workMode >= 0 && kWorkModes[workMode].carriesData) {
    entry.carriesData = true;
    std::memcpy(entry.sectorData, form.sectorData, sizeof entry.sectorData);
  }
  return entry;
}

// The line of the card whose success has come joins the journal; a success that answers no write
// or clear sent (one that came late, say) adds no line, yet lines still waiting are appended.
JournalOutcome JournalSentCard() {
  const SentCard sent = std::exchange(g_sent, SentCard{});
  const bool journalled = sent.operation == 'w' || sent.operation == 'c';
  return AppendToJournal(journalled ? JournalLine(EntryOf(sent)) : std::string(), UiText.journalHeader);
}

// The first trouble of the run with the journal, told once: it is open in another program, or
// cannot be written, and its lines wait.
void ReportJournalTrouble(const JournalOutcome& outcome) {
  static bool told = false;
  if (outcome.status == JournalStatus::kWritten || told) return;
  told = true;
  if (outcome.status == JournalStatus::kHeld) {
    Report(UiText.msgJournalHeld, kMessageWarning);
    return;
  }
  Report(WithErrorCode(ErrorCodeForm::kGetLastError, UiText.msgJournalNotWritten, outcome.error).c_str(),
         kMessageError);
}

// Sets the radios, work mode and view, sector, block and key or data from a card block.
void ApplyCardBlock(const CardBlockValues& block) {
  FormRecord form;
  if (block.isMaster) std::copy(block.radio, block.radio + kSettingGroupCount, form.radio);
  form.workMode = block.workMode;
  form.sector = block.sectorNumber;
  form.block = block.blockNumber;
  form.hasKey = block.isMaster;
  std::copy(block.systemKey, block.systemKey + 6, form.key);
  form.hasData = !block.isMaster;
  std::copy(block.sectorData, block.sectorData + 7, form.data);
  ShowFormRecord(form);
}

}  // namespace

TimerId OnCardCommand(int id, bool waitRunning) {
  for (const CardButton& button : kCardButtons) {
    if (button.id != id) continue;
    StartRun(g_run, button.run);
    if (button.asksFirst && !AskYesNo(g_mainWindow, UiText.msgConfirmClearCard)) return kTimerNone;
    return PerformCardOperation(button.operation, waitRunning);
  }
  return kTimerNone;
}

TimerId SendNextCardOfRun(bool waitRunning) {
  if (g_run.kind == kRunWriteCyclically) return PerformCardOperation(kCardWrite, waitRunning);
  if (g_run.kind == kRunClearCyclically) return PerformCardOperation(kCardClear, waitRunning);
  return kTimerNone;
}

bool CyclicRunGoesOn() { return NextCyclicStep(g_run) != kCyclicStop; }

void OnGenerateRandomCommand() {
  MsRand rng = SeededFromLocalTime();
  uint8_t key[6];
  DrawRandomKey(rng, key);
  ShowSystemKey(key);
}

void OnGenerateUniqueCommand() { FillUniqueSectorData(); }

CardWait& ReadCardTick(int tick) {
  for (CardRead read = StartCardTick(g_wait, tick); read != kCardReadDone;) {
    char bytes[kReplyBufferSize + 1] = {};
    const int length = read == kCardPollByte ? PollByte(g_readerLink, bytes, &g_lineError)
                                              : ReadReply(g_readerLink, bytes, kReplyBufferSize, &g_lineError);
    read = TakeCardRead(g_wait, bytes, length);
  }
  return g_wait;
}

ReplyCode ShowCardWaitReply(char* bytes, int length) {
  const ReplyVerdict verdict = JudgeReply(bytes, length);
  if (verdict.card.kind == kCardReplyNotRecognized) return PerformReply(verdict.code, bytes, length, g_lineError);
  ShowCardResult(verdict.card);
  return kReplyAcknowledged;
}

void ShowCardResult(const CardReply& card) {
  // A card written or cleared goes into the journal; inside a cyclic run its success is not
  // reported: the pause before the next card follows.
  const bool cardDone = card.setsLastOperationSucceeded;
  const JournalOutcome journal = cardDone ? JournalSentCard() : JournalOutcome{JournalStatus::kWritten, 0};
  if (!cardDone || !RecordSuccess(g_run)) {
    Report(UiText.*kReplyTexts[card.message], static_cast<MessageKind>(card.messageKind));
    if (card.kind == kCardReplyBlockRead) ApplyCardBlock(card.block);
  }
  ReportJournalTrouble(journal);
}

void OnCardJournalCommand() {
  if (!PrepareJournalForOpening(UiText.journalHeader)) {
    Report(UiText.msgJournalNone, kMessageHint);
    return;
  }
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(g_mainWindow, "open", kJournalFileName, nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  Report(WithErrorCode(ErrorCodeForm::kShell, UiText.msgJournalOpenFailed, static_cast<unsigned long>(result)).c_str(),
         kMessageError);
}

void CloseCardJournal() {
  std::string savedIn;
  const JournalLeftover leftover = SaveWaitingJournalLines(UiText.journalHeader, &savedIn);
  // The main window is going: the box has no owner.
  if (leftover == JournalLeftover::kSavedAside) {
    const std::string text = std::string(UiText.msgJournalSavedAside) + "\n" + savedIn;
    ShowMessage(nullptr, text.c_str(), UiText.messageCaption, MB_OK, kMessageWarning);
  } else if (leftover == JournalLeftover::kLost) {
    ShowMessage(nullptr, UiText.msgJournalLost, UiText.messageCaption, MB_OK, kMessageError);
  }
}
