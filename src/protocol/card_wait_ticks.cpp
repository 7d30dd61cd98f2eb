// The card wait's reading of the reader. A reader that answers quickly puts the acknowledgement and
// the final reply into the first tick's read; the final reply is then judged from there, as the poll
// would have found it, instead of being lost with the acknowledgement.
#include "protocol/card_wait_ticks.h"

#include <cstring>

namespace {

constexpr char kOkMarker[] = " - OK!";
constexpr char kCardReplyStart[] = "\rAT+";

// Where the text starts at or after `from`, or -1.
int Find(const char* bytes, int length, int from, const char* text) {
  const int textLength = static_cast<int>(std::strlen(text));
  for (int i = from; i + textLength <= length; ++i) {
    if (std::memcmp(bytes + i, text, static_cast<size_t>(textLength)) == 0) return i;
  }
  return -1;
}

CardWaitTickEnd EndWithFinalReply(const ReplyLine& line) {
  line.endWait(line.context);
  ReadAndJudgeReply(line);
  return kCardWaitEnded;
}

}  // namespace

int FinalReplyAfterAcknowledgement(const char* bytes, int length) {
  const int ok = Find(bytes, length, 0, kOkMarker);
  if (ok < 0) return -1;
  return Find(bytes, length, ok + static_cast<int>(sizeof kOkMarker) - 1, kCardReplyStart);
}

CardWaitTickEnd RunCardWaitTick(int tick, const ReplyLine& line) {
  if (tick == 1) {
    char first[kReplyBufferSize + 1] = {};
    const int length = line.readReply(line.context, first);
    const int finalAt = FinalReplyAfterAcknowledgement(first, length);
    const int firstLength = finalAt < 0 ? length : finalAt;
    if (line.judgeReply(line.context, first, firstLength) != kReplyAcknowledged) {
      line.endWait(line.context);
      return kCardWaitEndedUnacknowledged;
    }
    if (finalAt >= 0) {
      line.endWait(line.context);
      line.judgeReply(line.context, first + finalAt, length - finalAt);
      return kCardWaitEnded;
    }
  }
  if (tick >= kCardWaitLastTick || line.pollByte(line.context)) return EndWithFinalReply(line);
  return kCardWaitGoesOn;
}
