// The serial channel to the reader: open and configure the port, read a reply byte by byte
// until the line falls silent, poll for one byte, write a command. Every call uses g_link.
#pragma once

#include <windows.h>

// Opens "\\.\" + name at the baud rate, 8N1, with the program's time-outs; the handle goes to
// g_link.portHandle. A handle that cannot be configured is closed again and false returned.
bool OpenPort(const char* portName, DWORD baudRate);

// Reads one byte at a time until a read times out. At most capacity bytes are stored; further
// bytes are read and dropped (up to a bound) so that they do not spill into the next reply.
// True when at least one byte arrived; a read error is shown and gives false.
bool ReadReplyBytes(char* buffer, int capacity, int* length);

// Reads and drops one byte; when one came, waits 10 ms for the rest of the reply.
bool PollByte();

// Drops what is waiting to be read, then writes the bytes in one call; a write error is shown, a
// short write is not.
bool WritePort(const char* bytes, int count);
