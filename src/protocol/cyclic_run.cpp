// The cyclic run's rules: one kind of run at a time, a success recorded per card and used up by
// the step it allows.
#include "protocol/cyclic_run.h"

void StartRun(CyclicRun& run, RunKind kind) {
  run.kind = kind;
  run.lastSucceeded = false;
}

bool RecordSuccess(CyclicRun& run) {
  run.lastSucceeded = true;
  return run.kind != kRunSingle;
}

CyclicStep NextCyclicStep(CyclicRun& run) {
  if (run.kind == kRunSingle) return kCyclicStop;
  if (!run.lastSucceeded) {
    run.kind = kRunSingle;
    return kCyclicStop;
  }
  run.lastSucceeded = false;
  return run.kind == kRunWriteCyclically ? kCyclicWriteAgain : kCyclicClearAgain;
}
