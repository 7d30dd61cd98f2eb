// The card buttons of the main form (Write, Read, Clear and their cyclic forms): the frame
// builders and their send step, the dispatch by card type, and the run they belong to.
#pragma once

#include <windows.h>

#include <cstdint>

#include "protocol/card_settings.h"

// What the card operations ask of the rest of the program, given by it at start.
struct CardHooks {
  bool (*portOpen)() = nullptr;
  bool (*waitRunning)() = nullptr;
  // Opens the wait of a timer (1 search delay, 4 card wait); false when one runs already.
  bool (*openWait)(int timer) = nullptr;
  // Writes a command to the reader; false with the system's code (0: a short write) when it cannot.
  bool (*writePort)(const char* bytes, int count, DWORD* error) = nullptr;
  // Ends the link after a failed write, telling the user why.
  void (*writeFailed)(DWORD error) = nullptr;
};

void SetCardHooks(const CardHooks& hooks);

// The card command sent last, as its frame carried it: the card letter ('M' or 'U'), the
// operation ('w', 'r' or 'c'; 0 once its outcome has been taken) and the form it was built from.
struct SentCard {
  char card = 0;
  char operation = 0;
  CardSnapshot form;
};
// Takes the card command whose reply has come: later replies find none.
SentCard TakeSentCard();

void SendMasterWrite();
void SendMasterRead();
void SendMasterClear();
void SendUserWrite();
void SendUserRead();
void SendUserClear();

// With no open port each starts the reader search instead; with no card type chosen, nothing.
void WriteCard();
void ReadCard();
void ClearCard();

// Commands 9 to 13.
void OnCardCommand(int id);
// A write or clear that succeeded; true inside a cyclic run, whose successes are not reported.
bool RecordCardSuccess();
// Once a card wait has judged its final reply: true when a cyclic run goes on to another card
// after a success; otherwise the run is over.
bool CyclicRunGoesOn();
// The next card of a cyclic run, once the pause after the last one is over.
void SendNextCardOfRun();
