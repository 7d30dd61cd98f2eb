// The timed waits of the main window: the WaitWindow with its progress bar, the shared tick
// counter of timers 1, 2 and 4, the one-shot hot-plug timer 3, and what happens when each ends.
#pragma once

#include <windows.h>

enum TimerId : UINT_PTR {
  kTimerSearchDelay = 1,
  kTimerHandshakeWait = 2,
  kTimerHotplugDebounce = 3,
  kTimerCardWait = 4,
};

extern HWND g_waitWindow;
extern int g_waitTicks;

// Whether a wait (timer 1, 2 or 4) runs; one at a time.
bool WaitRunning();

// Shows the WaitWindow of a timer, disables the main window and starts the timer; true when it did.
// Ids other than 1, 2 and 4 do nothing, and neither does a second wait while one runs.
bool OpenWaitWindow(UINT_PTR timerId, UINT periodMs);

// Ends a wait: the tick counter back to 0, its timer killed, the WaitWindow destroyed.
void EndWait(UINT_PTR timerId);

// WM_TIMER of the main window; fromMainLoop tells a tick of the main loop from one that a modal
// loop dispatched.
void OnTimer(UINT_PTR timerId, bool fromMainLoop);

// Kills every timer of the main window; called when it is destroyed.
void KillAllTimers();
