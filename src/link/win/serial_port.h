// The serial channel to the reader: open and configure the port, read a reply byte by byte
// until the line falls silent, poll for one byte, write a command. Every call uses g_link; a port
// call that fails is returned with the system's code, never shown here.
#pragma once

#include <windows.h>

#include "link/reply_line.h"

// Opens "\\.\" + name at the baud rate, 8N1, with the program's time-outs; the handle goes to
// g_link.portHandle. A handle that cannot be configured is closed again and false returned.
bool OpenPort(const char* portName, DWORD baudRate);

// Reads one byte at a time until a read times out. At most capacity bytes are stored; further
// bytes are read and dropped (up to a bound) so that they do not spill into the next reply.
// The number of bytes kept, 0 when nothing came, kLineFailed with *error when a port call failed.
int ReadReplyBytes(char* buffer, int capacity, DWORD* error);

// Reads one byte; when one came, waits 10 ms for the rest of the reply. 1 when a byte came,
// 0 when none did, kLineFailed with *error when a port call failed.
int PollByte(char* byte, DWORD* error);

// Drops what is waiting to be read, then writes the bytes in one call. True when all were written;
// false with *error the code of the call that failed, or 0 when the write came short.
bool WritePort(const char* bytes, int count, DWORD* error);
