// The Tarnel reader's USB identity: the two 30-character hardware ids built from its vendor,
// product and revision, the match of a device's hardware id, and the "PortName" a device may carry.
#pragma once

#include <string>

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
