// The serial link to the reader: one port, opened at the reader's speed with the program's time-outs,
// read a reply at a time or polled a byte at a time, and written a command at a time. A port call
// that fails is returned with the system's code, never shown here.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"

struct SerialLink {
  std::string name;    // the port, "COM" and a number; held whole, so COM1000 and above work too
  OwnedHandle handle;  // valid while the link is open
};

inline bool IsOpen(const SerialLink& link) { return link.handle.Valid(); }

// Opens "\\.\" + the link's name at the reader's speed, 8N1, with the program's time-outs; a port
// that cannot be configured is closed again and false returned.
bool OpenLink(SerialLink& link);
inline void CloseLink(SerialLink& link) { link.handle.Reset(); }

// Reads one byte at a time until a read times out. At most capacity bytes are stored; further
// bytes are read and dropped (up to a bound) so that they do not spill into the next reply.
// The number of bytes kept, 0 when nothing came, kLineFailed with *error when a port call failed.
int ReadReply(const SerialLink& link, char* buffer, int capacity, DWORD* error);

// Reads one byte; when one came, waits 10 ms for the rest of the reply. 1 when a byte came,
// 0 when none did, kLineFailed with *error when a port call failed.
int PollByte(const SerialLink& link, char* byte, DWORD* error);

// Drops what is waiting to be read, then writes the bytes in one call. True when all were written;
// false with *error the code of the call that failed, or 0 when the write came short.
bool WriteCommand(const SerialLink& link, const void* bytes, int count, DWORD* error);
