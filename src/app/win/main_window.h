// The main window and the one thread's message loop: the window procedure routes commands, ticks,
// device changes and notifications, and the timed machine's actions are performed here, in order,
// on the waits' window, the timers, the reader's link and the card path.
#pragma once

#include <windows.h>

#include "app/timed_machine.h"

// The WaitWindow of the wait that runs, null when none does.
extern HWND g_waitWindow;

void RegisterMainWindowClass();
HWND CreateMainWindow();
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The periods the timers run with: the real ones, unless a test build is given shorter ones.
void SetTimings(const Timings& timings);

// Shows the WaitWindow of the search delay, the handshake wait or the card wait, disables the main
// window and starts the timer; true when it did. Other ids do nothing, and neither does a second
// wait while one runs.
bool OpenWait(int timer);
// Kills every timer of the main window and closes a wait's window; called when it is destroyed.
void KillAllTimers();

// Runs the loop until WM_QUIT. Between two messages, with no handler running, a reader check that
// fell due meanwhile gets its turn.
void RunMainLoop();
