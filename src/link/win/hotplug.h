// Following the reader's plugging and unplugging: the check that falls due 2 s after a device change
// and runs from the main loop once no wait, box, dialog or keys window is open.
#pragma once

// Timer 3's first tick: the check falls due.
void OnHotplugTimer();

// Runs a due check, unless a wait runs or checks are held: re-checks the open port, or looks for
// a newly plugged reader. Called by the main loop between messages only.
void RunDueHotplugCheck();

// Holds checks back while a window of the program stays open over the main window.
void HoldHotplugChecks();
void ReleaseHotplugChecks();
