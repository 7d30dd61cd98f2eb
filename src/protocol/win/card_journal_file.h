// The card journal cardJournal.csv in the working folder, beside usersData.data: a line for each
// card written or cleared. Lines that cannot be written yet wait in memory, for the next append
// or the end of the run, so that no card's line is lost.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kJournalFileName[] = "cardJournal.csv";

enum class JournalStatus {
  kWritten,  // no line is waiting
  kHeld,     // the journal is open in another program; the lines wait
  kFailed,   // it cannot be written for another reason (error); the lines wait
};

struct JournalOutcome {
  JournalStatus status;
  DWORD error;
};

// The line (empty: none) joins the waiting lines, and every waiting line is appended. `names`: the
// header row's column names, separated by tabs, for a journal that is begun now.
JournalOutcome AppendToJournal(const std::string& line, const std::string& names);

// At the end of the run: the waiting lines are appended, or, when the journal still cannot be
// written, saved in a new file beside it named with the date and time. What became of them:
// nothing waited, appended, saved in `savedIn`, or lost (neither file could be written).
enum class JournalLeftover { kNone, kAppended, kSavedAside, kLost };
JournalLeftover SaveWaitingJournalLines(const std::string& names, std::string* savedIn);

// Whether the journal exists; the waiting lines are appended first, so that it is complete.
bool PrepareJournalForOpening(const std::string& names);
