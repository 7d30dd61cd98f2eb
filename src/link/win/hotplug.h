// Following the reader's plugging and unplugging once a hot-plug check falls due: the open port
// is re-checked, or with none open a newly plugged reader is looked for.
#pragma once

// Closes the port, pauses, and reopens it if the system still lists it; otherwise reports the
// broken connection, drops the port from the list and resets the link.
void RecheckOpenPort(int pauseMs);

// Refreshes the port list and, when the reader is plugged in, opens the search delay.
void LookForNewReader();
