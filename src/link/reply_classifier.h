// The judging of a reader's reply by its markers: unknown command, OK, OK with the version,
// and the firmware versions this program supports. Pure byte work, shared by every reply reader.
#pragma once

enum ReplyCode : int {
  kReplyNothing = 0,
  kReplyUnknownCommand = 1,
  kReplyAcknowledged = 2,
  kReplyHandshake = 3,
};

// The handshake the reader answers with its version.
inline constexpr char kHandshakeCommand[] = "AT+READS_USB";
inline constexpr int kHandshakeLength = 12;
// The only firmware version the program works with.
inline constexpr char kSupportedFirmware[] = "1.00";

// Finds the first marker of the reply. On the OK marker followed by the version marker the bytes
// after the version marker are moved to the start of the buffer; the rest of it is left as it was.
ReplyCode ClassifyReply(char* buffer, int length);

// True when the text begins with the four characters of the supported version.
bool IsSupportedFirmware(const char* text);
