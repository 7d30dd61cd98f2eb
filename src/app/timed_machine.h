// The program's decisions over time as one state machine: the three waits (one at a time, moved
// on only by ticks of the main loop), the hot-plug debounce and its check, held back past waits
// and windows open over the main window. Events go in, the actions to perform come out, in order.
#pragma once

#include <vector>

#include "link/timings.h"
#include "protocol/card_wait_ticks.h"

enum ActionKind : int {
  kActionStartTimer,         // timer, value: period in ms
  kActionStopTimer,          // timer
  kActionShowWaitWindow,     // timer, value: the last tick, the top of the progress bar
  kActionStepProgress,
  kActionCloseWaitWindow,
  kActionDisableMainWindow,
  kActionEnableMainWindow,
  kActionSearchReader,       // the search delay is over
  kActionReadHandshakeReply, // the handshake wait is over
  kActionRunCardTick,        // value: the tick number, from 1
  kActionRecheckOpenPort,    // value: the pause before, in ms
  kActionLookForNewReader,
  kActionRunCyclicStep,      // a card wait ended with its final reply judged
};

struct Action {
  ActionKind kind;
  int timer = 0;
  int value = 0;
};

using Actions = std::vector<Action>;

struct TimedMachine {
  Timings timings;
  int waitTimer = 0;  // the timer of the wait that runs, 0 when none does
  int waitTicks = 0;
  bool debounceRunning = false;
  bool checkDue = false;  // the debounce is over; the check waits for the main loop
  int openWindows = 0;    // windows of the program open over the main window
};

bool WaitRunning(const TimedMachine& machine);

// Opens the wait of timer 1, 2 or 4; nothing (an empty list) for other ids or while a wait runs.
Actions OpenWait(TimedMachine& machine, int timer);
// Ends the wait that runs: its timer stopped, its window closed, the tick count back to 0.
Actions EndWait(TimedMachine& machine);

// A tick of a timer; fromMainLoop is false when a modal loop (a box, dialog or menu opened by a
// handler) dispatched it. Such ticks of the waits are dropped; the debounce ends on either.
Actions OnTick(TimedMachine& machine, int timer, bool fromMainLoop);
// How the card wait's tick number `tick` ended, once it has been run.
Actions OnCardTickEnded(TimedMachine& machine, CardWaitTickEnd end);

// A device change; only a change of the device nodes starts the debounce, and a burst starts one.
Actions OnDeviceChange(TimedMachine& machine, bool deviceNodesChanged);
// The main loop between two messages: a due check runs unless a wait runs or a window is open.
Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen);

// The main window is going: every timer stopped, a wait's window closed, nothing left due.
Actions StopAll(TimedMachine& machine);

// A window of the program opened over the main window, or closed again.
void OnWindowOpened(TimedMachine& machine);
void OnWindowClosed(TimedMachine& machine);
