// Following the reader's plugging and unplugging once a hot-plug check falls due: the open port
// is re-checked, or with none open a reader lost since the change is reported and a newly plugged
// reader is looked for.
#pragma once

#include <string>

// Closes the port, pauses, and reopens it if the system still lists it; otherwise reports the
// broken connection and resets the link.
void RecheckOpenPort(int pauseMs);

// With no port open: when portAtChange, the port open when the change came, has left the system
// and its loss has not been reported yet, reports it; otherwise looks for a newly plugged reader.
void CheckClosedLink(const std::string& portAtChange);
