// The timed machine's rules and the reading of the shortened periods a test build may be given. It
// performs nothing itself: the shell turns window messages into its events and its actions into calls.
#include "app/timed_machine.h"

#include <string>

namespace {

constexpr long kLongestTimingMs = 60000;

struct TimingName {
  const char* name;
  int Timings::*field;
};

const TimingName kTimingNames[] = {
    {"debounce", &Timings::debounceMs},       {"searchtick", &Timings::searchTickMs},
    {"handshaketick", &Timings::handshakeTickMs}, {"reopen", &Timings::reopenPauseMs},
    {"cardtick", &Timings::cardTickMs},       {"cyclicpause", &Timings::cyclicPauseMs},
};

// The milliseconds of a value made of digits only, in 1..kLongestTimingMs; 0 otherwise.
int ParseMilliseconds(const std::string& text) {
  if (text.empty()) return 0;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > kLongestTimingMs) return 0;
  }
  return static_cast<int>(value);
}

void ApplyPair(const std::string& pair, Timings* timings) {
  const size_t equals = pair.find('=');
  if (equals == std::string::npos) return;
  const int ms = ParseMilliseconds(pair.substr(equals + 1));
  if (ms == 0) return;
  const std::string name = pair.substr(0, equals);
  for (const TimingName& timing : kTimingNames) {
    if (name == timing.name) timings->*(timing.field) = ms;
  }
}

Actions EndOfWait(TimedMachine& machine, int timer) {
  Actions actions = EndWait(machine);
  switch (timer) {
    case kTimerSearchDelay:
      actions.push_back({kActionEnableMainWindow});
      actions.push_back({kActionSearchReader});
      break;
    case kTimerHandshakeWait:
      actions.push_back({kActionReadHandshakeReply});
      actions.push_back({kActionEnableMainWindow});
      break;
  }
  return actions;
}

Actions OnDebounceOver(TimedMachine& machine) {
  machine.debounceRunning = false;
  machine.checkDue = true;
  machine.portCheckedUnderWait = false;
  return {{kActionStopTimer, kTimerHotplugDebounce}};
}

bool ChangeUnchecked(const TimedMachine& machine) { return machine.debounceRunning || machine.checkDue; }

// The pause between two cyclic cards is over: the next card goes out, unless a device change has
// come that is not checked yet; the run then waits for the check.
Actions OnCyclicPauseOver(TimedMachine& machine) {
  if (ChangeUnchecked(machine)) {
    machine.cyclicPause = CyclicPause::kHeld;
    return {{kActionStopTimer, kTimerCyclicPause}};
  }
  machine.cyclicPause = CyclicPause::kNone;
  return {{kActionStopTimer, kTimerCyclicPause}, {kActionEnableMainWindow}, {kActionSendNextCard}};
}

}  // namespace

const WaitTiming* FindWaitTiming(int timer) {
  for (const WaitTiming& wait : kWaitTimings) {
    if (wait.timer == timer) return &wait;
  }
  return nullptr;
}

Timings ParseTimings(const char* text) {
  Timings timings;
  if (text == nullptr) return timings;
  std::string pair;
  for (const char* c = text;; ++c) {
    if (*c == '\0' || *c == ' ' || *c == ',') {
      ApplyPair(pair, &timings);
      pair.clear();
      if (*c == '\0') break;
    } else {
      pair.push_back(*c);
    }
  }
  return timings;
}

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

bool WaitRunning(const TimedMachine& machine) { return machine.waitTimer != 0; }

Actions OpenWait(TimedMachine& machine, int timer) {
  const WaitTiming* wait = FindWaitTiming(timer);
  if (wait == nullptr || WaitRunning(machine)) return {};
  machine.waitTimer = timer;
  machine.waitTicks = 0;
  return {{kActionShowWaitWindow, timer, wait->lastTick},
          {kActionDisableMainWindow},
          {kActionStartTimer, timer, machine.timings.*(wait->tickMs)}};
}

Actions EndWait(TimedMachine& machine) {
  const int timer = machine.waitTimer;
  machine.waitTimer = 0;
  machine.waitTicks = 0;
  if (timer == 0) return {};
  return {{kActionStopTimer, timer}, {kActionCloseWaitWindow}};
}

Actions OnTick(TimedMachine& machine, int timer, bool fromMainLoop) {
  if (timer == kTimerHotplugDebounce) return machine.debounceRunning ? OnDebounceOver(machine) : Actions{};
  // A wait moves on only between the main loop's messages: a tick that a box or dialog of one of
  // its own steps dispatches is dropped, so no read or end action starts inside another.
  if (!fromMainLoop) return {};
  if (timer == kTimerCyclicPause) {
    return machine.cyclicPause == CyclicPause::kRunning ? OnCyclicPauseOver(machine) : Actions{};
  }
  if (timer != machine.waitTimer) return {};
  const int tick = ++machine.waitTicks;
  if (timer == kTimerCardWait) return {{kActionStepProgress}, {kActionRunCardTick, timer, tick}};
  if (tick < FindWaitTiming(timer)->lastTick) return {{kActionStepProgress}};
  Actions actions = {{kActionStepProgress}};
  for (const Action& action : EndOfWait(machine, timer)) actions.push_back(action);
  return actions;
}

Actions OnCardTickEnded(TimedMachine& machine, CardWaitTickEnd end, bool nextCard) {
  if (end == kCardWaitGoesOn) return {};
  if (end == kCardWaitEnded && nextCard) {
    // The main window stays disabled through the pause: the run is not over.
    machine.cyclicPause = CyclicPause::kRunning;
    return {{kActionStartTimer, kTimerCyclicPause, machine.timings.cyclicPauseMs}};
  }
  return {{kActionEnableMainWindow}};
}

Actions OnDeviceChange(TimedMachine& machine, bool deviceNodesChanged, const std::string& openPort) {
  if (!deviceNodesChanged || machine.debounceRunning) return {};
  machine.debounceRunning = true;
  // A check already due keeps the port it judges unless it had none.
  if (!machine.checkDue || machine.changedPort.empty()) machine.changedPort = openPort;
  return {{kActionStartTimer, kTimerHotplugDebounce, machine.timings.debounceMs}};
}

Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen, bool windowOverMain) {
  if (!machine.checkDue || windowOverMain) return {};
  if (WaitRunning(machine)) {
    // Looking whether the port is still listed touches no port, so it need not wait: a wait
    // whose reader was pulled out ends now instead of running to its last tick.
    if (!portOpen || machine.portCheckedUnderWait) return {};
    machine.portCheckedUnderWait = true;
    return {{kActionCheckPortUnderWait}};
  }
  machine.checkDue = false;
  if (portOpen) return {{kActionRecheckOpenPort, 0, machine.timings.reopenPauseMs}};
  return {{kActionCheckClosedLink}};
}

Actions OnPortGoneUnderWait(TimedMachine& machine) {
  machine.checkDue = false;
  Actions actions = EndWait(machine);
  actions.push_back({kActionReportReaderGone});
  actions.push_back({kActionEnableMainWindow});
  return actions;
}

Actions OnCheckDone(TimedMachine& machine, bool linkOpen) {
  switch (machine.cyclicPause) {
    case CyclicPause::kNone:
      return {};
    case CyclicPause::kRunning:
      if (linkOpen) return {};
      machine.cyclicPause = CyclicPause::kNone;
      return {{kActionStopTimer, kTimerCyclicPause}, {kActionEnableMainWindow}};
    case CyclicPause::kHeld:
      if (ChangeUnchecked(machine)) return {};
      machine.cyclicPause = CyclicPause::kNone;
      if (!linkOpen) return {{kActionEnableMainWindow}};
      return {{kActionEnableMainWindow}, {kActionSendNextCard}};
  }
  return {};
}

Actions StopAll(TimedMachine& machine) {
  Actions actions;
  for (int timer : {kTimerSearchDelay, kTimerHandshakeWait, kTimerHotplugDebounce, kTimerCardWait, kTimerCyclicPause}) {
    actions.push_back({kActionStopTimer, timer});
  }
  if (WaitRunning(machine)) actions.push_back({kActionCloseWaitWindow});
  machine.waitTimer = 0;
  machine.waitTicks = 0;
  machine.debounceRunning = false;
  machine.checkDue = false;
  machine.cyclicPause = CyclicPause::kNone;
  return actions;
}
