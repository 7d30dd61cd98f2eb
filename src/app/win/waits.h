// The timed machine in the shell: window messages become its events and its actions become calls
// (the timers, the WaitWindow with its progress bar, the reader search, the reply reads, the
// hot-plug check, the next card of a cyclic run). The one owner of the waits' state and the tick counter.
#pragma once

#include <windows.h>

#include "link/timings.h"

// The WaitWindow of the wait that runs, null when none does.
extern HWND g_waitWindow;

// The periods the timers run with; the real ones unless set at start.
void SetTimings(const Timings& timings);

bool WaitRunning();

// Shows the WaitWindow of timer 1, 2 or 4, disables the main window and starts the timer; true
// when it did. Other ids do nothing, and neither does a second wait while one runs.
bool OpenWait(int timer);

// WM_TIMER of the main window; fromMainLoop tells a tick of the main loop from one that a modal
// loop dispatched.
void OnTimer(UINT_PTR timerId, bool fromMainLoop);

// WM_DEVICECHANGE of the main window.
void OnDeviceChange(WPARAM event);

// The main loop between two messages: runs a hot-plug check that fell due, unless held.
void RunDueHotplugCheck();

// A window of the program stays open over the main window from the first to the second.
void HoldHotplugChecks();
void ReleaseHotplugChecks();

// Kills every timer of the main window and closes a wait's window; called when it is destroyed.
void KillAllTimers();
