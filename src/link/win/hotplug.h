// Following the reader's plugging and unplugging: the check that runs 2 s after a device change,
// kept out of any running wait, report or keys window and run once that is over.
#pragma once

// Timer 3's first tick: re-checks the open port, or looks for a newly plugged reader.
void HotplugCheck();

// Brackets around work that talks to the reader outside a wait (a wait's end action, a port
// picked by hand). A check that falls inside runs when the outermost bracket closes and no wait runs.
void BeginLinkActivity();
void EndLinkActivity();
