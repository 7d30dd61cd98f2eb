// The card journal cardJournal.csv in the working folder, beside usersData.data: a line for each
// card written or cleared. Lines that cannot be written yet wait in memory, for the next append
// or the end of the run, so that no card's line is lost.
#pragma once

#include <windows.h>

#include <string>

#include "protocol/win/card_commands.h"

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

// The line of the card written or cleared by a frame joins the waiting lines, and every waiting
// line is appended; JournalSentCard takes the frame sent last.
JournalOutcome JournalCard(const SentCard& sent);
JournalOutcome JournalSentCard();

// At the end of the run: the waiting lines are appended, or, when the journal still cannot be
// written, saved in a new file beside it named with the date and time. What became of them:
// nothing waited, appended, saved in `savedIn`, or lost (neither file could be written).
enum class JournalLeftover { kNone, kAppended, kSavedAside, kLost };
JournalLeftover SaveWaitingJournalLines(std::string* savedIn);

// Whether the journal exists; the waiting lines are appended first, so that it is complete.
bool PrepareJournalForOpening();

// The Tools menu's "Card journal": the journal handed to the shell's "open" verb, or the message
// that there is none yet.
void OnCardJournalCommand();
// The first trouble of the run with the journal, told once: it is open in another program, or
// cannot be written, and its lines wait.
void ReportJournalTrouble(const JournalOutcome& outcome);
// The end of the run: the waiting lines appended or saved beside the journal, and the user told
// where they went when it was not the journal.
void CloseCardJournal();
