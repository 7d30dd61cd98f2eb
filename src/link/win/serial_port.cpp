// The serial channel on the Win32 communications API: synchronous, non-overlapped, one byte per
// read, so that the end of a reply is found by the 60 ms read time-out rather than a terminator.
#include "link/win/serial_port.h"

#include <cstdio>
#include <string>

#include "link/win/link_state.h"
#include "ui/ui_text.h"
#include "ui/win/app_window.h"

namespace {

// A read that gets no byte returns after 10 x 1 + 50 = 60 ms.
constexpr COMMTIMEOUTS kTimeouts = {50, 10, 50, 10, 50};
// A reader that keeps talking past the reply buffer is not read for ever.
constexpr int kMaxDroppedBytes = 1024;
constexpr DWORD kPollSettleMs = 10;

void ShowSerialError(const char* phrase) {
  char text[256];
  std::snprintf(text, sizeof text, "%s [%d] %s", UiText.errorWord, static_cast<int>(GetLastError()), phrase);
  MessageBoxA(g_mainWindow, text, UiText.messageCaption, MB_ICONERROR);
}

bool ConfigurePort(HANDLE port, DWORD baudRate) {
  COMMTIMEOUTS timeouts = kTimeouts;
  if (!SetCommTimeouts(port, &timeouts)) return false;
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) return false;
  dcb.BaudRate = baudRate;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  return SetCommState(port, &dcb) != FALSE;
}

}  // namespace

bool OpenPort(const char* portName, DWORD baudRate) {
  const std::string path = std::string("\\\\.\\") + portName;
  g_link.portHandle.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!g_link.portHandle.Valid()) return false;
  if (ConfigurePort(g_link.portHandle.Get(), baudRate)) return true;
  g_link.portHandle.Reset();
  return false;
}

bool ReadReplyBytes(char* buffer, int capacity, int* length) {
  int received = 0;
  for (;;) {
    char byte = 0;
    DWORD read = 0;
    if (!ReadFile(g_link.portHandle.Get(), &byte, 1, &read, nullptr)) {
      ShowSerialError(UiText.msgWhenReading);
      return false;
    }
    if (read == 0 || received >= capacity + kMaxDroppedBytes) break;
    if (received < capacity) buffer[received] = byte;
    ++received;
  }
  if (received == 0) return false;
  *length = received < capacity ? received : capacity;
  return true;
}

bool PollByte() {
  char byte = 0;
  DWORD read = 0;
  if (!ReadFile(g_link.portHandle.Get(), &byte, 1, &read, nullptr) || read == 0) return false;
  Sleep(kPollSettleMs);
  return true;
}

bool WritePort(const char* bytes, int count) {
  // Every write is a command, and nothing that came before it can be its answer: a reply that came
  // after its wait was over, or noise, would otherwise be read as the start of this one's.
  PurgeComm(g_link.portHandle.Get(), PURGE_RXCLEAR);
  DWORD written = 0;
  if (!WriteFile(g_link.portHandle.Get(), bytes, static_cast<DWORD>(count), &written, nullptr)) {
    ShowSerialError(UiText.msgWhenWriting);
    return false;
  }
  return written == static_cast<DWORD>(count);
}
