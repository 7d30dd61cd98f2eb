// The card wait and the handshake reader fed the reader's replies in random pieces over a simulated
// serial line: wherever the replies arrive as the protocol allows, the outcome is that of whole replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/timed_machine.h"
#include "base/card_number.h"
#include "protocol/replies.h"

namespace {

// The serial channel's timing: a one-byte read gives up 60 ms after it starts, a poll that finds a
// byte waits 10 ms more, the card wait ticks as the program's timings say and the handshake is read
// once its wait is over.
constexpr int kReadTimeoutMs = 60;
constexpr int kPollSettleMs = 10;
constexpr int kCardTickMs = Timings{}.cardTickMs;
constexpr int kHandshakeReadAtMs = Timings{}.handshakeTickMs * kWaitTimings[1].lastTick;
// Bytes past the reply buffer that a read drops before it gives up on a talking reader.
constexpr int kMaxDroppedBytes = 1024;

struct Piece {
  int atMs;
  std::string bytes;
};

// What a judge saw: the reply code, and for a card reply which one it was.
struct Judged {
  ReplyCode code;
  CardReplyKind card;
  bool supportedFirmware;
  bool operator==(const Judged& other) const {
    return code == other.code && card == other.card && supportedFirmware == other.supportedFirmware;
  }
};

struct Outcome {
  std::vector<Judged> judged;
  CardWaitTickEnd end = kCardWaitGoesOn;
  bool operator==(const Outcome& other) const { return judged == other.judged && end == other.end; }
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << "end " << outcome.end << ", judged";
  for (const Judged& judged : outcome.judged) {
    *out << " (code " << judged.code << " card " << judged.card << (judged.supportedFirmware ? " 1.00" : "") << ")";
  }
}

// A serial line on which pieces of the reader's replies arrive at their times, read as the
// program's serial channel reads: byte by byte, each read waiting at most 60 ms.
struct SimulatedLine {
  std::vector<Piece> pieces;  // in order of arrival
  size_t nextPiece = 0;
  std::string waiting;
  int nowMs = 0;
  Outcome outcome;

  bool ReadByte(char* byte) {
    while (nextPiece < pieces.size() && pieces[nextPiece].atMs <= nowMs) waiting += pieces[nextPiece++].bytes;
    if (waiting.empty()) {
      if (nextPiece == pieces.size() || pieces[nextPiece].atMs > nowMs + kReadTimeoutMs) {
        nowMs += kReadTimeoutMs;
        return false;
      }
      nowMs = pieces[nextPiece].atMs;
      waiting += pieces[nextPiece++].bytes;
    }
    *byte = waiting[0];
    waiting.erase(0, 1);
    return true;
  }

  // Reads until the line falls silent, as the serial channel does.
  int ReadReply(char* buffer) {
    int received = 0;
    char byte = 0;
    while (received < kReplyBufferSize + kMaxDroppedBytes && ReadByte(&byte)) {
      if (received < kReplyBufferSize) buffer[received] = byte;
      ++received;
    }
    return std::min(received, kReplyBufferSize);
  }

  int PollByte(char* byte) {
    if (!ReadByte(byte)) return 0;
    nowMs += kPollSettleMs;
    return 1;
  }

  ReplyCode Judge(char* buffer, int length) {
    const ReplyVerdict verdict = JudgeReply(buffer, length);
    // A card's reply is taken as the program takes it: acknowledged.
    const ReplyCode code = verdict.card.kind != kCardReplyNotRecognized ? kReplyAcknowledged : verdict.code;
    outcome.judged.push_back({code, verdict.card.kind, code == kReplyHandshake && IsSupportedFirmware(buffer)});
    return code;
  }
};

// The card wait from the frame's send at 0 ms: ticks every 50 ms, or at once when a tick's reads
// took longer, until the wait ends. Each tick's reads and judging go as the program's do.
Outcome RunCardWait(const std::vector<Piece>& pieces) {
  SimulatedLine line;
  line.pieces = pieces;
  CardWait wait;
  int tickAtMs = 0;
  for (int tick = 1; line.outcome.end == kCardWaitGoesOn; ++tick) {
    tickAtMs = std::max(tickAtMs + kCardTickMs, line.nowMs);
    line.nowMs = tickAtMs;
    for (CardRead read = StartCardTick(wait, tick); read != kCardReadDone;) {
      char bytes[kReplyBufferSize + 1] = {};
      read = TakeCardRead(wait, bytes, read == kCardPollByte ? line.PollByte(bytes) : line.ReadReply(bytes));
    }
    const bool acknowledged =
        wait.acknowledgement == nullptr || line.Judge(wait.acknowledgement, wait.acknowledgementLength) == kReplyAcknowledged;
    line.outcome.end = acknowledged ? wait.end : kCardWaitCutShort;
    if (acknowledged && wait.end != kCardWaitGoesOn) line.Judge(wait.final, wait.finalLength);
  }
  return line.outcome;
}

Outcome RunHandshake(const std::vector<Piece>& pieces) {
  SimulatedLine line;
  line.pieces = pieces;
  line.nowMs = kHandshakeReadAtMs;
  char buffer[kReplyBufferSize + 1] = {};
  line.Judge(buffer, line.ReadReply(buffer));
  return line.outcome;
}

std::string ReadReplyOfCard() {
  uint8_t block[16] = {'M', 'e', 'd', 'f', 'e', 'g', 3, 1, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0, 0};
  block[15] = Crc8(block, 15);
  return "\rAT+ms" + std::string("\x01\x02\x03\x04\x05\x06") + std::string(block, block + 16) + "\r\n";
}

const std::string kAcknowledgement = " - OK!\r\n";
// A reader may say more before its OK marker, such as the command it acknowledges.
constexpr int kLongestTextBeforeOk = 200;
std::string AcknowledgementAfter(std::mt19937& random, int textLength) {
  static const char kText[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 +_";
  std::uniform_int_distribution<size_t> letter(0, sizeof kText - 2);
  std::string text;
  for (int i = 0; i < textLength; ++i) text += kText[letter(random)];
  return text + kAcknowledgement;
}
// Each final reply comes after one leading byte, which the poll takes.
const std::vector<std::string> kFinalReplies = {
    "\n\rAT+DAT_OK\r\n", "\n\rAT+ERR_03\r\n", "\n\rAT+ERR_04\r\n", "\n\rAT+ERR_05\r\n",
    "\n\rAT+ERR_06\r\n", "\n" + ReadReplyOfCard(),
};
const std::vector<std::string> kHandshakeReplies = {
    "AT+READS_USB - OK! >> 1.00\r\n", "AT+READS_USB - OK! >> 1.01\r\n", "AT+READS_USB - OK!\r\n",
    "AT+READS_USB - UNKNOWN CMD!\r\n", std::string("\x13\x7f#?~%garbage\r\n", 16),
};

// The bytes cut into pieces, the first at startMs; a cut after each byte with the given chance,
// and between pieces a pause of up to maxGapMs.
std::vector<Piece> Split(std::mt19937& random, const std::string& bytes, int startMs, double cutChance,
                         int maxGapMs) {
  std::bernoulli_distribution cut(cutChance);
  std::uniform_int_distribution<int> gap(0, maxGapMs);
  std::vector<Piece> pieces{{startMs, std::string()}};
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && cut(random)) pieces.push_back({pieces.back().atMs + gap(random), std::string()});
    pieces.back().bytes += bytes[i];
  }
  return pieces;
}

void Append(std::vector<Piece>* pieces, const std::vector<Piece>& more) {
  pieces->insert(pieces->end(), more.begin(), more.end());
}

constexpr unsigned kSeed = 20240611;
constexpr int kIterations = 3000;
// Pauses within a reply stay short of the read time-out; one byte per tick is one every 50 ms.
constexpr int kInReplyGapMs = kCardTickMs;

TEST(ReplySplits, WholeRepliesGiveTheAcknowledgementThenTheFinalReply) {
  for (const std::string& final : kFinalReplies) {
    const Outcome whole = RunCardWait({{0, kAcknowledgement}, {300, final}});
    ASSERT_EQ(whole.end, kCardWaitEnded);
    ASSERT_EQ(whole.judged.size(), 2u);
    EXPECT_EQ(whole.judged[0].code, kReplyAcknowledged);
    EXPECT_NE(whole.judged[1].card, kCardReplyNotRecognized) << final.substr(1);
  }
}

// The acknowledgement complete on the first tick, with up to 200 bytes before its OK marker; the
// final reply in pieces with short pauses, at any time after it: right behind it in the same read,
// one byte per tick, seconds later, or its leading byte alone and the rest after more than a read waits.
TEST(ReplySplits, CardWaitOutcomeDoesNotDependOnHowTheRepliesArrive) {
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> ackStart(0, kCardTickMs - 1);
  std::uniform_int_distribution<int> textBeforeOk(0, kLongestTextBeforeOk);
  std::uniform_int_distribution<int> finalAfter(0, 2000);
  std::uniform_int_distribution<int> leadByteAlone(kReadTimeoutMs + 1, 1000);
  std::uniform_real_distribution<double> cutChance(0.0, 1.0);
  int togetherOnTickOne = 0;
  int longAcknowledgements = 0;
  int leadBytesAlone = 0;
  for (const std::string& final : kFinalReplies) {
    for (int i = 0; i < kIterations; ++i) {
      const std::string acknowledgement = AcknowledgementAfter(random, textBeforeOk(random));
      const Outcome whole = RunCardWait({{0, acknowledgement}, {300, final}});
      std::vector<Piece> pieces = Split(random, acknowledgement, ackStart(random), cutChance(random), kInReplyGapMs);
      const int finalAt = pieces.back().atMs + (i % 4 == 0 ? 0 : finalAfter(random));
      if (finalAt - pieces.back().atMs < kReadTimeoutMs) ++togetherOnTickOne;
      if (acknowledgement.size() > 64) ++longAcknowledgements;
      if (i % 3 == 1) {
        ++leadBytesAlone;
        pieces.push_back({finalAt, final.substr(0, 1)});
        Append(&pieces, Split(random, final.substr(1), finalAt + leadByteAlone(random), cutChance(random), kInReplyGapMs));
      } else {
        Append(&pieces, Split(random, final, finalAt, cutChance(random), kInReplyGapMs));
      }
      ASSERT_EQ(RunCardWait(pieces), whole) << "iteration " << i << " of " << final.substr(1, 10)
                                            << " after an acknowledgement of " << acknowledgement.size() << " bytes";
    }
  }
  EXPECT_GT(togetherOnTickOne, 4000) << "the acknowledgement and the final reply in one read are covered";
  EXPECT_GT(longAcknowledgements, 10000) << "acknowledgements longer than 64 bytes are covered";
  EXPECT_GT(leadBytesAlone, 5000) << "leading bytes that come alone are covered";
}

// A final reply with no acknowledgement before it: when it is there on the first tick it is the
// card's outcome, judged once and ending the wait; when nothing is there the wait ends unacknowledged.
TEST(ReplySplits, AFinalReplyWithoutAcknowledgementIsJudgedOnceOrNotAtAll) {
  for (const std::string& final : kFinalReplies) {
    const Judged sent = RunCardWait({{0, kAcknowledgement}, {300, final}}).judged[1];
    for (const std::string& first : {final, final.substr(1)}) {
      const Outcome quick = RunCardWait({{0, first}});
      EXPECT_EQ(quick.end, kCardWaitEnded) << final.substr(1, 10);
      EXPECT_EQ(quick.judged, std::vector<Judged>{sent}) << final.substr(1, 10);
    }
    const Outcome late = RunCardWait({{300, final}});
    EXPECT_EQ(late.end, kCardWaitCutShort);
    ASSERT_EQ(late.judged.size(), 1u);
    EXPECT_EQ(late.judged[0].code, kReplyNothing);
  }
}

TEST(ReplySplits, AcknowledgementAndFinalReplyInOneReadAreBothJudged) {
  for (const std::string& final : kFinalReplies) {
    const Outcome whole = RunCardWait({{0, kAcknowledgement}, {300, final}});
    EXPECT_EQ(RunCardWait({{0, kAcknowledgement + final}}), whole) << final.substr(1, 10);
    EXPECT_EQ(RunCardWait({{kCardTickMs, kAcknowledgement + final}}), whole) << final.substr(1, 10);
  }
}

// Several replies in one read: another card reply or line ends after the final reply change nothing.
// (A handshake marker after it would decide the reply, as markers are looked for first anywhere.)
TEST(ReplySplits, BytesAfterTheFinalReplyChangeNothing) {
  for (const std::string& final : kFinalReplies) {
    const Outcome whole = RunCardWait({{0, kAcknowledgement}, {300, final}});
    for (const std::string& more : {final, std::string("\n\rAT+ERR_05\r\n"), std::string("\r\n\r\n")}) {
      EXPECT_EQ(RunCardWait({{0, kAcknowledgement}, {300, final + more}}), whole);
      EXPECT_EQ(RunCardWait({{0, kAcknowledgement + final + more}}), whole);
    }
  }
}

// A final reply broken by a silence longer than a read waits is outside the protocol; the wait
// must still never judge it as another reply than the one the reader sent.
TEST(ReplySplits, FinalReplyBrokenBySilenceIsNeverTakenForAnother) {
  std::mt19937 random(kSeed + 1);
  std::uniform_real_distribution<double> cutChance(0.0, 1.0);
  for (const std::string& final : kFinalReplies) {
    const CardReplyKind sent = RunCardWait({{0, kAcknowledgement}, {300, final}}).judged[1].card;
    for (int i = 0; i < kIterations; ++i) {
      std::vector<Piece> pieces{{0, kAcknowledgement}};
      Append(&pieces, Split(random, final, 300, cutChance(random), 400));
      for (const Judged& judged : RunCardWait(pieces).judged) {
        EXPECT_TRUE(judged.card == kCardReplyNotRecognized || judged.card == sent) << "iteration " << i;
      }
    }
  }
}

// The handshake reply is read once the wait is over: any pieces that came before, with any
// pauses, and pieces still coming with short pauses while it is read, make the whole reply.
TEST(ReplySplits, HandshakeOutcomeDoesNotDependOnHowTheReplyArrives) {
  std::mt19937 random(kSeed + 2);
  std::uniform_real_distribution<double> cutChance(0.0, 1.0);
  std::uniform_int_distribution<int> start(0, kHandshakeReadAtMs);
  for (const std::string& reply : kHandshakeReplies) {
    const Outcome whole = RunHandshake({{0, reply}});
    ASSERT_EQ(whole.judged.size(), 1u);
    for (int i = 0; i < kIterations; ++i) {
      const bool whileRead = i % 2 == 0;
      const int startMs = whileRead ? kHandshakeReadAtMs : start(random);
      const int maxGap = whileRead ? kInReplyGapMs : (kHandshakeReadAtMs - startMs) / static_cast<int>(reply.size());
      std::vector<Piece> pieces = Split(random, reply, startMs, cutChance(random), maxGap);
      ASSERT_EQ(RunHandshake(pieces), whole) << "iteration " << i << " of " << reply;
    }
  }
}

}  // namespace
