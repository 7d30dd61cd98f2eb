// The timed machine's rules. It performs nothing itself: the shell turns window messages into its
// events and its actions into calls, so that every sequence of events can be replayed in a test.
#include "app/timed_machine.h"

namespace {

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

Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen) {
  if (!machine.checkDue || machine.openWindows > 0) return {};
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

void OnWindowOpened(TimedMachine& machine) { ++machine.openWindows; }

void OnWindowClosed(TimedMachine& machine) {
  if (machine.openWindows > 0) --machine.openWindows;
}
