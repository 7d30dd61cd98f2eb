// The program's decisions over time as one state machine: the three waits (one at a time, moved
// on only by ticks of the main loop), the pause between the cards of a cyclic run, the hot-plug
// debounce and its check, held back past waits and windows open over the main window. Events go
// in, the actions to perform come out, in order.
#pragma once

#include <string>
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
  kActionRecheckOpenPort,    // value: the pause before, in ms; then OnCheckDone
  // With no port open: the port that was open when the change came is reported lost if it has
  // left the system unreported; otherwise a newly plugged reader is looked for. Then OnCheckDone.
  kActionCheckClosedLink,
  kActionCheckPortUnderWait,  // a check fell due during a wait: is the open port still listed?
  kActionReportReaderGone,    // "Connection broken", the link reset
  kActionSendNextCard,        // the next card of a cyclic run
};

struct Action {
  ActionKind kind;
  int timer = 0;
  int value = 0;
};

using Actions = std::vector<Action>;

enum class CyclicPause { kNone, kRunning, kHeld };

struct TimedMachine {
  Timings timings;
  int waitTimer = 0;  // the timer of the wait that runs, 0 when none does
  int waitTicks = 0;
  bool debounceRunning = false;
  bool checkDue = false;  // the debounce is over; the check waits for the main loop
  // The port open when the change that started the debounce came ("": none): the check judges
  // against it, so a reader pulled out during a wait that has reset the link since is still told.
  std::string changedPort;
  bool portCheckedUnderWait = false;  // the due check has found the open port listed under this wait
  int openWindows = 0;    // windows of the program open over the main window
  // Between two cards of a cyclic run: the pause, or its end held until a device change is checked.
  CyclicPause cyclicPause = CyclicPause::kNone;
};

bool WaitRunning(const TimedMachine& machine);

// Opens the wait of timer 1, 2 or 4; nothing (an empty list) for other ids or while a wait runs.
Actions OpenWait(TimedMachine& machine, int timer);
// Ends the wait that runs: its timer stopped, its window closed, the tick count back to 0.
Actions EndWait(TimedMachine& machine);

// A tick of a timer; fromMainLoop is false when a modal loop (a box, dialog or menu opened by a
// handler) dispatched it. Such ticks of the waits and the cyclic pause are dropped; the debounce
// ends on either.
Actions OnTick(TimedMachine& machine, int timer, bool fromMainLoop);
// How a card wait's tick ended, once it has been run; nextCard: the cyclic run goes on to another
// card after a success.
Actions OnCardTickEnded(TimedMachine& machine, CardWaitTickEnd end, bool nextCard);

// A device change; only a change of the device nodes starts the debounce, and a burst starts one.
// openPort names the port open at that moment, "" when none is.
Actions OnDeviceChange(TimedMachine& machine, bool deviceNodesChanged, const std::string& openPort);
// The main loop between two messages: a due check runs unless a wait runs or a window is open.
// Under a wait with a port open, it only asks once whether that port is still listed.
Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen);
// The open port has left the system's list while a wait read from it: the wait ends and the
// broken connection is reported.
Actions OnPortGoneUnderWait(TimedMachine& machine);
// A check has run; linkOpen: the port is open after it. A cyclic run held for it goes on, or ends
// when the link has been lost.
Actions OnCheckDone(TimedMachine& machine, bool linkOpen);

// The main window is going: every timer stopped, a wait's window closed, nothing left due.
Actions StopAll(TimedMachine& machine);

// A window of the program opened over the main window, or closed again.
void OnWindowOpened(TimedMachine& machine);
void OnWindowClosed(TimedMachine& machine);
