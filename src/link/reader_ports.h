// The reader's ports as the program sees them: serial port names ("COM" and a decimal number, sorted
// by number), the reader's USB identity, and what the serial line's reads give. Pure text work.
#pragma once

#include <string>
#include <vector>

// The reply buffer: the reader's replies are short, yet an acknowledgement and the final reply that
// comes right behind it must fit one read. One byte more keeps the text terminated.
inline constexpr int kReplyBufferSize = 256;

// What a read or a poll of the line gives when its port call failed: the line is broken or gone.
inline constexpr int kLineFailed = -1;

// The reader's line speed.
inline constexpr unsigned long kReaderBaudRate = 19200;

// The port list keeps at most this many entries after sorting.
inline constexpr int kMaxListedPorts = 50;

// The decimal number after the first three characters; 0 when no digit follows them.
unsigned long PortNumberOf(const std::string& name);

// The first 50 names in their order, turned into numbers, sorted, and written back as "COM" + number.
std::vector<std::string> SortedPortNames(const std::vector<std::string>& names);

// Whether two port names name the same port: Windows port names ignore letter case, so "com7"
// is COM7. Only ASCII letters are folded.
bool SamePortName(const std::string& a, const std::string& b);

// The reader's USB identity: the parts of the two spellings of its hardware id.
struct ReaderIdentity {
  const char* vendor;
  const char* product;
  const char* revision;
  const char* vendorLower;
  const char* productLower;
  const char* revisionLower;
};

// Vendor 2E3C, product 5750, revision 0200, in both letter cases.
extern const ReaderIdentity kTarnelIdentity;

// "USB\VID_v&PID_p&REV_r" from the upper-case parts and "USB\Vid_v&Pid_p&Rev_r" from the lower-case ones.
std::string UpperHardwareId(const ReaderIdentity& identity);
std::string LowerHardwareId(const ReaderIdentity& identity);

// True when the device's hardware id begins with either form exactly (what follows is not examined).
bool MatchesReaderHardwareId(const std::string& hardwareId, const ReaderIdentity& identity);

// True for a "PortName" that begins with "COM" in any letter case followed by a nonzero number.
bool IsUsablePortName(const std::string& portName);
