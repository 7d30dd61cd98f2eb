// A run of card operations: a single press, or a cyclic write or clear that goes on card after
// card while each one succeeds and stops at the first that does not.
#pragma once

enum RunKind : int { kRunSingle = 0, kRunWriteCyclically, kRunClearCyclically };

enum CyclicStep : int { kCyclicStop = 0, kCyclicWriteAgain, kCyclicClearAgain };

struct CyclicRun {
  RunKind kind = kRunSingle;
  bool lastSucceeded = false;
};

// A button press starts a run of its own kind: a cyclic run that never reached the end of a wait
// (no port, a failed send, no acknowledgement) must not turn a later single press cyclic, and the
// success of an earlier operation must not carry a new cyclic run past a failing first card.
void StartRun(CyclicRun& run, RunKind kind);

// A write or clear that succeeded. True inside a cyclic run, where the success is not reported
// but followed by the pause before the next card.
bool RecordSuccess(CyclicRun& run);

// Once a card wait has judged its final reply: the next card of a cyclic run after a success,
// otherwise the run is over (a single press has no next step).
CyclicStep NextCyclicStep(CyclicRun& run);
