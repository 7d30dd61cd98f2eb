// The serial line of the simulated reader: a pseudo-terminal pair whose slave end Wine opens as a
// COM port through a dosdevices link, and whose master end the simulator reads and writes.
#pragma once

#include <string>

struct PtyLine {
  int master = -1;
  int slave = -1;  // kept open so the line never hangs up between the program's opens
  std::string slavePath;
};

// Opens a raw pseudo-terminal pair; false with a message on stderr when it cannot.
bool OpenPtyLine(PtyLine* line);
// Closes both ends: the program's open handle on the line fails from its next read or write on,
// as a pulled USB adapter's does. The line is open again after OpenPtyLine.
void ClosePtyLine(PtyLine* line);
bool PtyLineOpen(const PtyLine& line);
// Throws away whatever is queued in either direction.
void FlushPtyLine(const PtyLine& line);
// Writes all bytes to the master end.
bool WritePtyLine(const PtyLine& line, const std::string& bytes);
// The program sets the line's speed each time it opens its port: the line is given a speed no
// program asks for, and LineConfigured says whether it has been set since.
void MarkLineUnconfigured(const PtyLine& line);
bool LineConfigured(const PtyLine& line);
