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
  return {{kActionStopTimer, kTimerHotplugDebounce}};
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
  if (!fromMainLoop || timer != machine.waitTimer) return {};
  const int tick = ++machine.waitTicks;
  if (timer == kTimerCardWait) return {{kActionStepProgress}, {kActionRunCardTick, timer, tick}};
  if (tick < FindWaitTiming(timer)->lastTick) return {{kActionStepProgress}};
  Actions actions = {{kActionStepProgress}};
  for (const Action& action : EndOfWait(machine, timer)) actions.push_back(action);
  return actions;
}

Actions OnCardTickEnded(TimedMachine&, CardWaitTickEnd end) {
  if (end == kCardWaitGoesOn) return {};
  if (end == kCardWaitEndedUnacknowledged) return {{kActionEnableMainWindow}};
  return {{kActionEnableMainWindow}, {kActionRunCyclicStep}};
}

Actions OnDeviceChange(TimedMachine& machine, bool deviceNodesChanged) {
  if (!deviceNodesChanged || machine.debounceRunning) return {};
  machine.debounceRunning = true;
  return {{kActionStartTimer, kTimerHotplugDebounce, machine.timings.debounceMs}};
}

Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen) {
  if (!machine.checkDue || machine.openWindows > 0 || WaitRunning(machine)) return {};
  machine.checkDue = false;
  if (portOpen) return {{kActionRecheckOpenPort, 0, machine.timings.reopenPauseMs}};
  return {{kActionLookForNewReader}};
}

Actions StopAll(TimedMachine& machine) {
  Actions actions;
  for (int timer : {kTimerSearchDelay, kTimerHandshakeWait, kTimerHotplugDebounce, kTimerCardWait}) {
    actions.push_back({kActionStopTimer, timer});
  }
  if (WaitRunning(machine)) actions.push_back({kActionCloseWaitWindow});
  machine.waitTimer = 0;
  machine.waitTicks = 0;
  machine.debounceRunning = false;
  machine.checkDue = false;
  return actions;
}

void OnWindowOpened(TimedMachine& machine) { ++machine.openWindows; }

void OnWindowClosed(TimedMachine& machine) {
  if (machine.openWindows > 0) --machine.openWindows;
}
