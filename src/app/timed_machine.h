// The program's timings, each stated once, and its decisions over time: the run of card operations a
// press starts, and one state machine of the three waits (one at a time, moved on only by ticks of
// the main loop), the pause between the cards of a cyclic run, the hot-plug debounce and its check,
// held back past waits and windows open over the main window. Events go in, actions come out, in order.
#pragma once

#include <string>
#include <vector>

#include "protocol/replies.h"

enum TimerId : int {
  kTimerNone = 0,
  kTimerSearchDelay = 1,
  kTimerHandshakeWait = 2,
  kTimerHotplugDebounce = 3,
  kTimerCardWait = 4,
  // The pause after each card of a cyclic run that succeeded, before the next one is sent: a
  // timer, so that the main loop sees a device change that comes between two cards.
  kTimerCyclicPause = 5,
};

// The periods that tests may shorten, in milliseconds, with their real values.
struct Timings {
  int debounceMs = 2000;      // the hot-plug debounce after a device change
  int searchTickMs = 10;      // a tick of the search delay
  int handshakeTickMs = 500;  // a tick of the handshake wait
  int reopenPauseMs = 1000;   // the pause before the open port is re-checked
  int cardTickMs = 50;        // a tick of the card wait
  int cyclicPauseMs = 1000;   // between two cards of a cyclic run
};

// The waits: their timer, the member of Timings that holds their tick, and their last tick (also
// the top of their progress bar).
struct WaitTiming {
  TimerId timer;
  int Timings::*tickMs;
  int lastTick;
};

inline constexpr WaitTiming kWaitTimings[] = {
    {kTimerSearchDelay, &Timings::searchTickMs, 100},
    {kTimerHandshakeWait, &Timings::handshakeTickMs, 2},
    {kTimerCardWait, &Timings::cardTickMs, kCardWaitLastTick},
};

// The wait of a timer, or null for the hot-plug debounce and unknown ids.
const WaitTiming* FindWaitTiming(int timer);

// Reads "name=milliseconds" pairs separated by spaces or commas (debounce, searchtick,
// handshaketick, reopen, cardtick, cyclicpause) over the real timings. Unknown names, values that are not
// plain numbers, zero and values above a minute are passed over; null or empty gives the real ones.
Timings ParseTimings(const char* text);

// A run of card operations: a single press, or a cyclic write or clear that goes on card after
// card while each one succeeds and stops at the first that does not.
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
  // Between two cards of a cyclic run: the pause, or its end held until a device change is checked.
  CyclicPause cyclicPause = CyclicPause::kNone;
};

bool WaitRunning(const TimedMachine& machine);

// Opens the search delay, the handshake wait or the card wait; nothing (an empty list) for other
// timers or while a wait runs.
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
// The main loop between two messages: a due check runs unless a wait runs or a window of the program
// is open over the main window (the keys list, the port list dropped down). Under a wait with a port
// open, it only asks once whether that port is still listed.
Actions OnMainLoopIdle(TimedMachine& machine, bool portOpen, bool windowOverMain);
// The open port has left the system's list while a wait read from it: the wait ends and the
// broken connection is reported.
Actions OnPortGoneUnderWait(TimedMachine& machine);
// A check has run; linkOpen: the port is open after it. A cyclic run held for it goes on, or ends
// when the link has been lost.
Actions OnCheckDone(TimedMachine& machine, bool linkOpen);

// The main window is going: every timer stopped, a wait's window closed, nothing left due.
Actions StopAll(TimedMachine& machine);
