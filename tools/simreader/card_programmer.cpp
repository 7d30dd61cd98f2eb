// Card commands from the program: acknowledged at once, then carried out on the presented card and
// answered with one leading byte before the reply, as the real reader does.
#include "card_programmer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "card_operations.h"
#include "hex_text.h"

namespace {

// The byte the reader sends ahead of every final reply.
constexpr char kLeadByte = '\n';
// Line noise, as a reader with a broken firmware or cable might send it.
const std::string kGarbage("\x13\x7f#?~%garbage\r\n", 16);

void Answer(std::vector<PendingAnswer>& pending, int afterMs, const std::string& bytes) {
  pending.push_back({Clock::now() + std::chrono::milliseconds(afterMs), bytes});
}

void PresentNextQueued(CardProgrammer* cards) {
  cards->presented.clear();
  cards->takenAfterUse = false;
  if (cards->queue.empty()) return;
  cards->presented = cards->queue.front();
  cards->queue.pop_front();
  cards->takenAfterUse = true;
}

std::string ReplaceReply(const std::string& how, const std::string& reply) {
  if (how == "badcrc" && reply.compare(0, 6, "\rAT+ms") == 0) {
    std::string broken = reply;
    broken[6 + 6 + 15] = static_cast<char>(broken[6 + 6 + 15] ^ 0x5A);
    return broken;
  }
  if (how.compare(0, 4, "ERR_") == 0) return "\rAT+" + how + "\r\n";
  if (how == "half") return reply.substr(0, reply.size() / 2);
  if (how == "garbage") return kGarbage;
  return reply;
}

void ServeCard(CardProgrammer& cards, std::vector<PendingAnswer>& pending) {
  VirtualCard card;
  std::string reply = LoadCard(cards.presented, &card) ? RunCardCommand(&card, cards.waitingFrame)
                                                       : std::string("\rAT+ERR_05\r\n");
  if (!cards.nextReply.empty()) {
    reply = ReplaceReply(cards.nextReply, reply);
    cards.nextReply.clear();
  }
  cards.waitingFrame.clear();
  Answer(pending, cards.replyAfterMs, kLeadByte + reply);
  if (cards.takenAfterUse) PresentNextQueued(&cards);
}

}  // namespace

bool TakeCardFrames(CardProgrammer& cards, std::string& bytes, int delayMs, std::vector<PendingAnswer>& pending) {
  size_t at = 0;
  while ((at = bytes.find("AT+", at)) != std::string::npos) {
    if (!StartsCardFrame(bytes, at)) {
      ++at;
      continue;
    }
    if (bytes.size() < at + kCardFrameBytes) return true;
    cards.waitingFrame = bytes.substr(at, kCardFrameBytes);
    bytes.erase(0, at + kCardFrameBytes);
    at = 0;
    // Pulled out the moment the frame is in, before it is acknowledged.
    if (cards.nextReply == "pulled") {
      cards.nextReply.clear();
      return false;
    }
    if (!cards.acknowledgement.empty()) Answer(pending, delayMs, cards.acknowledgement);
    cards.giveUpAt = Clock::now() + std::chrono::milliseconds(cards.noCardMs);
    ServeWaitingCard(cards, pending);
  }
  return true;
}

void ServeWaitingCard(CardProgrammer& cards, std::vector<PendingAnswer>& pending) {
  if (cards.waitingFrame.empty()) return;
  if (!cards.presented.empty()) {
    ServeCard(cards, pending);
  } else if (cards.noCardMs >= 0 && Clock::now() >= cards.giveUpAt) {
    cards.waitingFrame.clear();
    Answer(pending, 0, std::string(1, kLeadByte) + "\rAT+ERR_04\r\n");
  }
}

std::string RunCardControl(CardProgrammer& cards, const std::string& words, std::vector<PendingAnswer>& pending) {
  std::istringstream in(words);
  std::string verb, path, argument;
  in >> verb >> path >> argument;
  if (verb == "present" && !path.empty()) {
    cards.presented = path;
    cards.takenAfterUse = false;
  } else if (verb == "queue" && !path.empty()) {
    if (cards.presented.empty()) {
      cards.presented = path;
      cards.takenAfterUse = true;
    } else {
      cards.queue.push_back(path);
    }
  } else if (verb == "remove") {
    cards.queue.clear();
    PresentNextQueued(&cards);
  } else if (verb == "ack") {
    if (path == "ok") cards.acknowledgement = " - OK!\r\n";
    else if (path == "unknown") cards.acknowledgement = " - UNKNOWN CMD!\r\n";
    else if (path == "silent") cards.acknowledgement.clear();
    else return "error ack ok|unknown|silent";
  } else if (verb == "timeout") {
    cards.noCardMs = std::atoi(path.c_str());
  } else if (verb == "replyafter") {
    cards.replyAfterMs = std::atoi(path.c_str());
  } else if (verb == "next") {
    cards.nextReply = path;
  } else if (verb == "block" || verb == "key") {
    const int sector = std::atoi(argument.c_str());
    int block = 0;
    in >> block;
    VirtualCard card;
    if (!std::ifstream(path) || !LoadCard(path, &card) || !IsClassic1k(card) || sector < 0 ||
        sector >= kCardSectors || block < 0 || block > 3) {
      return "error no such card or block";
    }
    return "ok " + ToHex(verb == "key" ? SectorKey(card, sector) : CardBlock(card, sector, block));
  } else {
    return "error card present|queue|remove|ack|timeout|replyafter|next|block|key";
  }
  if (verb == "present" || verb == "queue") ServeWaitingCard(cards, pending);
  return "ok";
}
