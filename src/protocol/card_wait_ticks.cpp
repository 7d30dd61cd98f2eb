// The card wait's reading of the reader. The final reply is judged from its "\rAT+", wherever it
// comes: in the first tick's read right behind the acknowledgement of a quick reader, behind the
// byte the poll finds, or ticks after a leading byte that came alone.
#include "protocol/card_wait_ticks.h"

#include <cstring>

namespace {

constexpr char kOkMarker[] = " - OK!";
constexpr char kCardReplyStart[] = "\rAT+";
// A final reply comes behind one leading byte.
constexpr int kLeadBytes = 1;

// Where the text starts at or after `from`, or -1.
int Find(const char* bytes, int length, int from, const char* text) {
  const int textLength = static_cast<int>(std::strlen(text));
  for (int i = from; i + textLength <= length; ++i) {
    if (std::memcmp(bytes + i, text, static_cast<size_t>(textLength)) == 0) return i;
  }
  return -1;
}

// Ends the wait and judges what came: bytes, nothing, or a failed line.
CardWaitTickEnd EndWith(const ReplyLine& line, char* reply, int length) {
  line.endWait(line.context);
  line.judgeReply(line.context, reply, length);
  return length == kLineFailed ? kCardWaitCutShort : kCardWaitEnded;
}

// The first tick reads what came since the frame went out: the acknowledgement, and the final reply
// too when the reader was quick. A final reply that came without an acknowledgement (behind at most
// its leading byte) is the card's outcome all the same: it ends the wait as the poll would have.
CardWaitTickEnd RunFirstTick(const ReplyLine& line) {
  char first[kReplyBufferSize + 1] = {};
  const int length = line.readReply(line.context, first);
  if (length == kLineFailed) return EndWith(line, first, length);
  const int ok = Find(first, length, 0, kOkMarker);
  if (ok < 0) {
    const int start = Find(first, length, 0, kCardReplyStart);
    if (start >= 0 && start <= kLeadBytes) return EndWith(line, first + start, length - start);
  }
  const int finalAt = ok < 0 ? -1 : Find(first, length, ok + static_cast<int>(sizeof kOkMarker) - 1, kCardReplyStart);
  if (line.judgeReply(line.context, first, finalAt < 0 ? length : finalAt) != kReplyAcknowledged) {
    line.endWait(line.context);
    return kCardWaitCutShort;
  }
  if (finalAt >= 0) return EndWith(line, first + finalAt, length - finalAt);
  return kCardWaitGoesOn;
}

void Append(CardWait& wait, const char* bytes, int length) {
  for (int i = 0; i < length && wait.length < kReplyBufferSize; ++i) wait.reply[wait.length++] = bytes[i];
}

// Every tick after the first: the poll watches for the final reply's first byte, and the rest is
// read behind it. The bytes are kept until they hold the reply's start or are more than a leading
// byte that came alone; a reply without that start is judged as it came and not recognised.
CardWaitTickEnd RunLaterTick(CardWait& wait, int tick, const ReplyLine& line) {
  const bool lastTick = tick >= kCardWaitLastTick;
  if (!lastTick) {
    char byte = 0;
    const int polled = line.pollByte(line.context, &byte);
    if (polled == kLineFailed) return EndWith(line, wait.reply, kLineFailed);
    if (polled == 0) return kCardWaitGoesOn;
    Append(wait, &byte, 1);
  }
  char rest[kReplyBufferSize + 1] = {};
  const int length = line.readReply(line.context, rest);
  if (length == kLineFailed) return EndWith(line, wait.reply, kLineFailed);
  Append(wait, rest, length);
  const int start = Find(wait.reply, wait.length, 0, kCardReplyStart);
  if (start >= 0) return EndWith(line, wait.reply + start, wait.length - start);
  if (!lastTick && wait.length <= kLeadBytes) return kCardWaitGoesOn;
  return EndWith(line, wait.reply, wait.length);
}

}  // namespace

CardWaitTickEnd RunCardWaitTick(CardWait& wait, int tick, const ReplyLine& line) {
  if (tick > 1) return RunLaterTick(wait, tick, line);
  wait = CardWait{};
  return RunFirstTick(line);
}
