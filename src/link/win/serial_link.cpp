// The serial channel on the Win32 communications API: synchronous, non-overlapped, one byte per
// read, so that the end of a reply is found by the 60 ms read time-out rather than a terminator.
#include "link/win/serial_link.h"

#include "link/reader_ports.h"

namespace {

// A read that gets no byte returns after 10 x 1 + 50 = 60 ms.
constexpr COMMTIMEOUTS kTimeouts = {50, 10, 50, 10, 50};
// A reader that keeps talking past the reply buffer is not read for ever.
constexpr int kMaxDroppedBytes = 1024;
constexpr DWORD kPollSettleMs = 10;

bool ConfigurePort(HANDLE port) {
  COMMTIMEOUTS timeouts = kTimeouts;
  if (!SetCommTimeouts(port, &timeouts)) return false;
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) return false;
  dcb.BaudRate = kReaderBaudRate;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  return SetCommState(port, &dcb) != FALSE;
}

// Reads one byte: 1 when it came, 0 when the read timed out, kLineFailed with *error. A read that
// times out asks the port's state as well: the line of a device that has gone may only time out
// on reads, but fails there.
int ReadByte(HANDLE port, char* byte, DWORD* error) {
  DWORD read = 0;
  DWORD lineErrors = 0;
  if (ReadFile(port, byte, 1, &read, nullptr) && (read == 1 || ClearCommError(port, &lineErrors, nullptr))) {
    return static_cast<int>(read);
  }
  *error = GetLastError();
  return kLineFailed;
}

}  // namespace

bool OpenLink(SerialLink& link) {
  const std::string path = "\\\\.\\" + link.name;
  link.handle.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!link.handle.Valid()) return false;
  if (ConfigurePort(link.handle.Get())) return true;
  link.handle.Reset();
  return false;
}

int ReadReply(const SerialLink& link, char* buffer, int capacity, DWORD* error) {
  int received = 0;
  while (received < capacity + kMaxDroppedBytes) {
    char byte = 0;
    const int got = ReadByte(link.handle.Get(), &byte, error);
    // Bytes that came before the line failed are no reply to judge.
    if (got == kLineFailed) return kLineFailed;
    if (got == 0) break;
    if (received < capacity) buffer[received] = byte;
    ++received;
  }
  return received < capacity ? received : capacity;
}

int PollByte(const SerialLink& link, char* byte, DWORD* error) {
  const int got = ReadByte(link.handle.Get(), byte, error);
  if (got == 1) Sleep(kPollSettleMs);
  return got;
}

bool WriteCommand(const SerialLink& link, const void* bytes, int count, DWORD* error) {
  *error = 0;
  HANDLE port = link.handle.Get();
  // Every write is a command, and nothing that came before it can be its answer: a reply that came
  // after its wait was over, or noise, would otherwise be read as the start of this one's.
  DWORD written = 0;
  if (!PurgeComm(port, PURGE_RXCLEAR) || !WriteFile(port, bytes, static_cast<DWORD>(count), &written, nullptr)) {
    *error = GetLastError();
    return false;
  }
  return written == static_cast<DWORD>(count);
}
