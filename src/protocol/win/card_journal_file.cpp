// The card journal on disk: UTF-16 with a byte-order mark and tabs between the fields, the form a
// spreadsheet opens as columns by a double-click whatever the system's language and list
// separator. An append reads only the file's first and last two bytes, never the whole file.
#include "protocol/win/card_journal_file.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/win/handles.h"
#include "protocol/card_journal.h"
#include "protocol/win/card_commands.h"
#include "protocol/win/card_snapshot_win.h"
#include "ui/form_layout.h"
#include "ui/form_state.h"
#include "ui/ui_text.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;

// The lines of cards written or cleared that are not in the journal yet, in their order.
std::vector<std::string> g_waiting;

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::wstring NewJournalStart() { return std::wstring(1, kByteOrderMark) + Wide(JournalHeader(UiText.journalHeader)); }

// The words the form shows for a radio button of a reader setting.
const char* SettingWords(int group, int checked) {
  const RadioGroup& buttons = kRadioGroups[kSettingRadioGroups[group]];
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
  entry.cardType = UiText.*kCardTypeItems[master ? 0 : 1];
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
    for (int group = 0; group < kSettingGroupCount; ++group) entry.settings[group] = SettingWords(group, form.radio[group]);
  } else if (workMode >= 0 && kWorkModes[workMode].carriesData) {
    entry.carriesData = true;
    std::memcpy(entry.sectorData, form.sectorData, sizeof entry.sectorData);
  }
  return entry;
}

bool ReadAt(HANDLE file, LONGLONG offset, wchar_t* unit) {
  LARGE_INTEGER at;
  at.QuadPart = offset;
  DWORD got = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, unit, sizeof *unit, &got, nullptr) &&
         got == sizeof *unit;
}

bool Truncate(HANDLE file, LONGLONG size) {
  LARGE_INTEGER at;
  at.QuadPart = size;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The file named with the date and time, beside the journal.
std::string DatedName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[64];
  std::snprintf(name, sizeof name, "cardJournal-%04d-%02d-%02d-%02d%02d%02d.csv", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return name;
}

JournalOutcome Failure(DWORD error) {
  const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
  return {held ? JournalStatus::kHeld : JournalStatus::kFailed, error};
}

// Writes text at the end of the file in one call; a write cut short is taken back, so that no
// part of a line stays.
JournalOutcome WriteAtEnd(HANDLE file, LONGLONG size, const std::wstring& text) {
  LARGE_INTEGER end;
  end.QuadPart = size;
  const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  DWORD written = 0;
  DWORD error = ERROR_SUCCESS;
  if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !WriteFile(file, text.data(), bytes, &written, nullptr)) {
    error = GetLastError();
  } else if (written != bytes) {
    error = ERROR_HANDLE_DISK_FULL;
  } else if (!FlushFileBuffers(file)) {
    error = GetLastError();
  }
  if (error == ERROR_SUCCESS) return {JournalStatus::kWritten, 0};
  Truncate(file, size);
  return Failure(error);
}

// Appends the waiting lines. A journal that another program saved in another form is kept whole
// under a dated name and a new one begun, so that no line is ever mixed into it; a line that a
// crash left half written is ended first, so that it never runs into the next one.
JournalOutcome AppendWaiting() {
  if (g_waiting.empty()) return {JournalStatus::kWritten, 0};
  OwnedHandle file(CreateFileA(kJournalFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return Failure(GetLastError());
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return Failure(GetLastError());
  wchar_t unit = 0;
  // A code unit cut in half at a crash is dropped.
  if (size.QuadPart % 2 != 0 && !Truncate(file.Get(), --size.QuadPart)) return Failure(GetLastError());
  if (size.QuadPart > 0 && (!ReadAt(file.Get(), 0, &unit) || unit != kByteOrderMark)) {
    file.Reset();
    if (!MoveFileA(kJournalFileName, DatedName().c_str())) return Failure(GetLastError());
    return AppendWaiting();
  }
  std::wstring text;
  if (size.QuadPart <= static_cast<LONGLONG>(sizeof unit)) {
    size.QuadPart = 0;
    text = NewJournalStart();
  } else if (!ReadAt(file.Get(), size.QuadPart - 2, &unit)) {
    return Failure(GetLastError());
  } else if (unit != L'\n') {
    text = L"\r\n";
  }
  for (const std::string& line : g_waiting) text += Wide(line);
  const JournalOutcome outcome = WriteAtEnd(file.Get(), size.QuadPart, text);
  if (outcome.status == JournalStatus::kWritten) g_waiting.clear();
  return outcome;
}

// The waiting lines in a new file of their own; false when it cannot be made either.
bool SaveAside(const std::string& name) {
  OwnedHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  std::wstring text = NewJournalStart();
  for (const std::string& line : g_waiting) text += Wide(line);
  return WriteAtEnd(file.Get(), 0, text).status == JournalStatus::kWritten;
}

}  // namespace

JournalOutcome JournalCard(const SentCard& sent) {
  // A success that answers no write or clear sent (one that came late, say) adds no line.
  if (sent.operation == 'w' || sent.operation == 'c') g_waiting.push_back(JournalLine(EntryOf(sent)));
  return AppendWaiting();
}

JournalOutcome JournalSentCard() { return JournalCard(TakeSentCard()); }

JournalLeftover SaveWaitingJournalLines(std::string* savedIn) {
  if (g_waiting.empty()) return JournalLeftover::kNone;
  if (AppendWaiting().status == JournalStatus::kWritten) return JournalLeftover::kAppended;
  *savedIn = DatedName();
  if (!SaveAside(*savedIn)) return JournalLeftover::kLost;
  g_waiting.clear();
  return JournalLeftover::kSavedAside;
}

bool PrepareJournalForOpening() {
  AppendWaiting();
  return GetFileAttributesA(kJournalFileName) != INVALID_FILE_ATTRIBUTES;
}

void OnCardJournalCommand() {
  if (!PrepareJournalForOpening()) {
    Report(UiText.msgJournalNone, kMessageHint);
    return;
  }
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(g_mainWindow, "open", kJournalFileName, nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  Report(WithErrorCode(ErrorCodeForm::kShell, UiText.msgJournalOpenFailed, static_cast<unsigned long>(result)).c_str(),
         kMessageError);
}

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

void CloseCardJournal() {
  std::string savedIn;
  const JournalLeftover leftover = SaveWaitingJournalLines(&savedIn);
  // The main window is going: the box has no owner.
  if (leftover == JournalLeftover::kSavedAside) {
    const std::string text = std::string(UiText.msgJournalSavedAside) + "\n" + savedIn;
    ShowMessage(nullptr, text.c_str(), UiText.messageCaption, MB_OK, kMessageWarning);
  } else if (leftover == JournalLeftover::kLost) {
    ShowMessage(nullptr, UiText.msgJournalLost, UiText.messageCaption, MB_OK, kMessageError);
  }
}
