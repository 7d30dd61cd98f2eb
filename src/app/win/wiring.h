// The program's subsystems joined at start: the link and the card operations get the waits and
// each other's services through hooks, so that neither includes the other's shell or the app's.
#pragma once

// Reads KEYLOOM_TIMINGS (shortened periods for tests) and gives every subsystem its hooks.
void WireSubsystems();
