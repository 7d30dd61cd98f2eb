// The program's timings, each stated once: the timers of the main window with their periods and
// the ticks each wait lasts, and the pauses of the link. Tests may shorten the periods.
#pragma once

enum TimerId : int {
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
  int debounceMs = 2000;      // the hot-plug debounce after a device change (timer 3)
  int searchTickMs = 10;      // a tick of the search delay (timer 1)
  int handshakeTickMs = 500;  // a tick of the handshake wait (timer 2)
  int reopenPauseMs = 1000;   // the pause before the open port is re-checked
  int cardTickMs = 50;        // a tick of the card wait (timer 4)
  int cyclicPauseMs = 1000;   // between two cards of a cyclic run (timer 5)
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
    {kTimerCardWait, &Timings::cardTickMs, 165},
};

// The last tick of the card wait.
inline constexpr int kCardWaitLastTick = kWaitTimings[2].lastTick;

// The wait of a timer, or null for the hot-plug debounce and unknown ids.
const WaitTiming* FindWaitTiming(int timer);

// Reads "name=milliseconds" pairs separated by spaces or commas (debounce, searchtick,
// handshaketick, reopen, cardtick, cyclicpause) over the real timings. Unknown names, values that are not
// plain numbers, zero and values above a minute are passed over; null or empty gives the real ones.
Timings ParseTimings(const char* text);
