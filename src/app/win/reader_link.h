// The link to the reader as the user lives through it: the search, the handshake, a hand-picked
// port, the checks after a device change, and every report of a link that failed or went. The
// calls that end in a wait give back its timer (kTimerNone: none), which the main window opens.
#pragma once

#include <windows.h>

#include <string>

#include "app/timed_machine.h"
#include "link/win/serial_link.h"
#include "protocol/replies.h"

// The one link to the reader, read by everybody; it is opened, closed and reset only here.
extern const SerialLink& g_readerLink;
// The open port's name, "" when none is open.
std::string OpenReaderPort();
// True when the link is open on a port that the system no longer lists: its reader was pulled out.
bool OpenPortGone();

// Closes the port if it is open, refreshes the port list, forgets a hand-picked port and shows
// "x.xx" as the version.
void ResetLink();
// "Connection broken.\n\r(Tarnel disabled!)" for the port whose reader was pulled out, then the
// link reset.
void ReportConnectionBroken(const std::string& lostPort);
// A write to the open port failed (code 0: it came short, which shows nothing): reported as the
// reader pulled out when the port has left the system, otherwise with its code; the link is reset.
void EndLinkAfterFailedWrite(DWORD code);

// The end of the search delay: fills the port list, finds the reader's port, reports it, selects
// it and, with no port open, opens it and sends the handshake. waitRunning: no handshake is sent.
TimerId SearchReader(bool waitRunning);
// The end of the handshake wait: reads the reply and reports what it means. A card's reply that
// came instead is given back for the card path to show (kCardReplyNotRecognized: none).
CardReply ReadHandshakeReply();
// Performs the reports and resets of the plan of a reply that is no card's, judged `code`, of `length`
// bytes (0: nothing came; kLineFailed: the read failed with `lineError`); `buffer` holds it (for the
// version). The plan's reply code.
ReplyCode PerformReply(ReplyCode code, const char* buffer, int length, DWORD lineError);

// The user picked a port in the port list: it is opened and sent the handshake.
TimerId OnPortChosen(bool waitRunning);
// SEARCH: the link reset and the search delay.
TimerId OnSearchCommand();

// The hot-plug check with a port open: closes it, pauses, and reopens it if the system still lists
// it; otherwise reports the broken connection and resets the link.
void RecheckOpenPort(int pauseMs);
// With no port open: when portAtChange, the port open when the change came, has left the system
// and its loss has not been reported yet, reports it; otherwise looks for a newly plugged reader.
TimerId CheckClosedLink(const std::string& portAtChange);
