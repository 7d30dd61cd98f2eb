// The card wait, tick by tick, over a reply line: the reply read on the first tick must acknowledge
// the command; from then on a one-byte poll watches for the final reply, which is read and judged.
#pragma once

#include "link/reply_line.h"
#include "link/timings.h"

enum CardWaitTickEnd : int {
  kCardWaitGoesOn = 0,
  kCardWaitCutShort,  // no acknowledgement came, or the line failed: no cyclic step follows
  kCardWaitEnded,     // the final reply (or its absence at the limit) was judged
};

// What the wait keeps from one tick to the next; its first tick starts it afresh.
struct CardWait {
  // The final reply's bytes so far, while they do not hold its start: its leading byte, when it
  // came alone and the rest is still to come.
  char reply[kReplyBufferSize + 1];
  int length;
};

// Runs tick number `tick` (counted from 1). Unless the wait goes on it has been ended through the
// line; the caller then gives the main window back and, after kCardWaitEnded, runs the cyclic step.
CardWaitTickEnd RunCardWaitTick(CardWait& wait, int tick, const ReplyLine& line);
