// The state of one simulated Tarnel reader: its serial line, what it answers, what it has
// received, the COM link it is plugged in through, and the answers still waiting to go out.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "card_programmer.h"
#include "pty_line.h"
#include "reader_behaviour.h"

struct Simulator {
  PtyLine line;
  std::string dosdevices;  // the Wine prefix's dosdevices folder
  std::string pluggedLink;  // the link in it while the reader is plugged in
  bool dead = false;        // pulled out for good: it answers nothing until plugged in again
  ReaderBehaviour behaviour;
  std::string command;   // bytes received since the last complete command
  std::string received;  // every byte received since the last "clear"
  std::vector<PendingAnswer> pending;
  std::FILE* frameLog = nullptr;
  CardProgrammer cards;
  std::string lastSentTime;   // wall-clock time of the last write to the line, "seconds.micros"
  std::string lastSentBytes;  // and what it carried
};

// Takes bytes read from the line: logs them and answers every complete command.
void OnLineBytes(Simulator* simulator, const std::string& bytes);
// Sends the answers whose time has come; the milliseconds until the next one, or -1.
int SendDueAnswers(Simulator* simulator);
// Runs one control line and returns the answer line ("ok ..." or "error ...").
std::string RunControlLine(Simulator* simulator, const std::string& line);
// Removes the COM link if the reader is plugged in.
void Unplug(Simulator* simulator);
// The reader gone until it is plugged in again, losing what it was about to send; pulled: its line
// closes too, so the program's open handle fails on its next read or write.
void GoDead(Simulator* simulator, bool pulled);
