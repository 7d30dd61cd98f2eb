// The card wait, tick by tick, over a reply line: the reply read on the first tick must acknowledge
// the command; from then on a one-byte poll watches for the final reply, which is read and judged.
#pragma once

#include "link/reply_line.h"
#include "link/timings.h"

enum CardWaitTickEnd : int {
  kCardWaitGoesOn = 0,
  kCardWaitEndedUnacknowledged,  // the first tick brought no acknowledgement: no cyclic step follows
  kCardWaitEnded,                // the final reply (or its absence at the limit) was judged
};

// Runs tick number `tick` (counted from 1). Unless the wait goes on it has been ended through the
// line; the caller then gives the main window back and, after kCardWaitEnded, runs the cyclic step.
CardWaitTickEnd RunCardWaitTick(int tick, const ReplyLine& line);

// The final reply that came in one read with the acknowledgement: where its "\rAT+" begins after
// the OK marker, the leading byte that the poll would drop lying before it; -1 when there is none.
int FinalReplyAfterAcknowledgement(const char* bytes, int length);
