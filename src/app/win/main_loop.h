// The main message loop, the one place that knows whether a message came from it or from a modal
// loop (a message box, dialog or menu) that one of the program's handlers is running meanwhile.
#pragma once

// Runs the loop until WM_QUIT. Between two messages, with no handler running, a reader check
// that fell due meanwhile gets its turn.
void RunMainLoop();

// Called once as the main window procedure starts on a message: true when the main loop
// dispatched it, false when it comes through a modal loop inside a handler.
bool TakeMainLoopDispatch();
