// The search for the reader and the handshake: list the ports, find the reader's own port,
// open it, send "AT+READS_USB", and judge the reply when the handshake wait is over.
#pragma once

#include <windows.h>

#include "link/reply_classifier.h"
#include "link/reply_line.h"

// The reader's line speed.
inline constexpr DWORD kReaderBaudRate = 19200;

// The end of the search delay (timer 1): fills and sorts the port list and looks for the reader.
void SearchReader();
// Finds the reader's port, reports it, selects it and, with no port open, opens it.
void LocateReader();
// Opens g_link.portName and sends the handshake, or reports that it cannot be opened.
void OpenAndHandshake();
// Writes the handshake and opens the handshake wait (timer 2); a failed write ends the link. While
// another wait runs nothing is sent.
void SendHandshake();
// Reports what a reply of `length` bytes means after its plan (0: nothing came, which resets the
// link; kLineFailed: the read failed); the reply code.
ReplyCode ReportReply(char* buffer, int length);
// The serial port as a reply line: its reads and ReportReply; no wait to end.
ReplyLine SerialReplyLine();
// Reads the reader's reply and reports what it means; the reply code.
ReplyCode ReadAndReportReply();
// Shows the version when it is the supported one; otherwise reports it and resets the link.
void CheckFirmwareVersion(const char* text);

// Command 6: the user picked a port in the port list.
void OnPortChosen();
// Command 7: SEARCH.
void OnSearchCommand();
