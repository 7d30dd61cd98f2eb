// Matches a USB device against the reader's identity by the first characters of its hardware id,
// case-sensitively in each of the two spellings, and checks that its "PortName" names a real port.
#include "link/hardware_id.h"

#include <cctype>

#include "link/port_names.h"

const ReaderIdentity kTarnelIdentity = {"2E3C", "5750", "0200", "2e3c", "5750", "0200"};

std::string UpperHardwareId(const ReaderIdentity& identity) {
  return std::string("USB\\VID_") + identity.vendor + "&PID_" + identity.product + "&REV_" + identity.revision;
}

std::string LowerHardwareId(const ReaderIdentity& identity) {
  return std::string("USB\\Vid_") + identity.vendorLower + "&Pid_" + identity.productLower + "&Rev_" +
         identity.revisionLower;
}

bool MatchesReaderHardwareId(const std::string& hardwareId, const ReaderIdentity& identity) {
  for (const std::string& form : {UpperHardwareId(identity), LowerHardwareId(identity)}) {
    if (hardwareId.compare(0, form.size(), form) == 0) return true;
  }
  return false;
}

bool IsUsablePortName(const std::string& portName) {
  if (portName.size() < 3) return false;
  for (size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(portName[i])) != "COM"[i]) return false;
  }
  return PortNumberOf(portName) != 0;
}
