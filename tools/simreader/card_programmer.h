// The reader as a card programmer: the card lying on it (or the cards presented one after another),
// the command waiting for a card, and what the tests set about its answers.
#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

// Bytes the reader sends once their time has come.
struct PendingAnswer {
  Clock::time_point due;
  std::string bytes;
};

struct CardProgrammer {
  std::string presented;          // card file on the reader; empty when there is none
  bool takenAfterUse = false;     // a queued card goes away once its command is done
  std::deque<std::string> queue;  // cards presented next, one per command
  std::string waitingFrame;       // a command waiting for a card; empty when none
  std::chrono::steady_clock::time_point giveUpAt;
  std::string acknowledgement = " - OK!\r\n";
  int noCardMs = 3000;        // "\rAT+ERR_04" when no card came within it; -1: wait for ever
  int replyAfterMs = 300;     // the final reply follows the acknowledgement after this pause
  std::string nextReply;      // the next final reply replaced: "ERR_03".."ERR_06", "badcrc", "half", "garbage",
                              // or "pulled": out of the system once the frame is in, its line closed
};

// Takes every complete card command out of the received bytes and answers it after `delayMs`
// (the acknowledgement) into `pending`. False when the reader is to be pulled out the moment a
// frame is in ("card next pulled"): the frame is then neither acknowledged nor carried out.
bool TakeCardFrames(CardProgrammer& cards, std::string& bytes, int delayMs, std::vector<PendingAnswer>& pending);
// A waiting command gets its card or, when its time is up, "\rAT+ERR_04".
void ServeWaitingCard(CardProgrammer& cards, std::vector<PendingAnswer>& pending);
// "card ..." control lines: present PATH, queue PATH, remove, ack ok|unknown|silent,
// timeout MS, replyafter MS, next ERR_0n|badcrc|half|garbage|pulled, block PATH SECTOR BLOCK, key PATH SECTOR.
std::string RunCardControl(CardProgrammer& cards, const std::string& words, std::vector<PendingAnswer>& pending);
