// The card journal on disk: UTF-16 with a byte-order mark and tabs between the fields, the form a
// spreadsheet opens as columns by a double-click whatever the system's language and list
// separator. An append reads only the file's first and last two bytes, never the whole file.
#include "protocol/win/card_journal_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/win/handles.h"
#include "protocol/card_journal.h"

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

// A new journal's start: the byte-order mark and the header row of the column names.
std::wstring NewJournalStart(const std::string& names) {
  return std::wstring(1, kByteOrderMark) + Wide(JournalHeader(names));
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
JournalOutcome AppendWaiting(const std::string& names) {
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
    return AppendWaiting(names);
  }
  std::wstring text;
  if (size.QuadPart <= static_cast<LONGLONG>(sizeof unit)) {
    size.QuadPart = 0;
    text = NewJournalStart(names);
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
bool SaveAside(const std::string& name, const std::string& names) {
  OwnedHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  std::wstring text = NewJournalStart(names);
  for (const std::string& line : g_waiting) text += Wide(line);
  return WriteAtEnd(file.Get(), 0, text).status == JournalStatus::kWritten;
}

}  // namespace

JournalOutcome AppendToJournal(const std::string& line, const std::string& names) {
  if (!line.empty()) g_waiting.push_back(line);
  return AppendWaiting(names);
}

JournalLeftover SaveWaitingJournalLines(const std::string& names, std::string* savedIn) {
  if (g_waiting.empty()) return JournalLeftover::kNone;
  if (AppendWaiting(names).status == JournalStatus::kWritten) return JournalLeftover::kAppended;
  *savedIn = DatedName();
  if (!SaveAside(*savedIn, names)) return JournalLeftover::kLost;
  g_waiting.clear();
  return JournalLeftover::kSavedAside;
}

bool PrepareJournalForOpening(const std::string& names) {
  AppendWaiting(names);
  return GetFileAttributesA(kJournalFileName) != INVALID_FILE_ATTRIBUTES;
}
