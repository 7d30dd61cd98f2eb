// The card path: a card button pressed, its frame decided from the form and written to the reader,
// the card wait's bytes read and judged, the outcome shown on the form and kept in the card journal,
// and a cyclic run carried on card after card. The calls that end in a wait give back its timer
// (kTimerNone: none), which the main window opens.
#pragma once

#include "app/timed_machine.h"
#include "protocol/replies.h"

// Write, Read, Clear, Write cyclically and Clear cyclically.
TimerId OnCardCommand(int id, bool waitRunning);
// The next card of a cyclic run, once the pause after the last one is over.
TimerId SendNextCardOfRun(bool waitRunning);
// Once a card wait has judged its final reply: true when a cyclic run goes on to another card
// after a success; otherwise the run is over.
bool CyclicRunGoesOn();

// "Generate random" (a new system key) and "Generate unique" (new sector data, recorded as issued).
void OnGenerateRandomCommand();
void OnGenerateUniqueCommand();

// Reads what a tick of the card wait has to read and judges it; the wait holds the tick's outcome,
// which the main window shows through ShowCardWaitReply, ending the wait in between as it says.
CardWait& ReadCardTick(int tick);
// Shows what a reply read by the card wait means; its reply code.
ReplyCode ShowCardWaitReply(char* bytes, int length);
// A card's reply: its message (none for a success inside a cyclic run), a block read put on the
// form, and a card written or cleared added to the card journal.
void ShowCardResult(const CardReply& card);

// Tools, "Card journal": the journal handed to the shell's "open" verb, or the message that there
// is none yet.
void OnCardJournalCommand();
// The end of the run: the journal's waiting lines appended or saved beside it, and the user told
// where they went when it was not the journal.
void CloseCardJournal();
