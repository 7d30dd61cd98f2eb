// The number rule of the port list: the text after "COM" read as a decimal number (the prefix is
// not checked), sorted ascending with duplicates kept and written back without leading zeros; port
// names compared as Windows compares them, in any letter case; and the match of the reader's USB
// device by the first characters of its hardware id, case-sensitively in each of its two spellings.
#include "link/reader_ports.h"

#include <algorithm>
#include <cctype>
namespace {

// Larger numbers are no port any system has; saturating keeps the arithmetic defined.
constexpr unsigned long kLargestPortNumber = 999999999;

char FoldedLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

unsigned long PortNumberOf(const std::string& name) {
  unsigned long number = 0;
  for (size_t i = 3; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    number = std::min(number * 10 + static_cast<unsigned long>(name[i] - '0'), kLargestPortNumber);
  }
  return number;
}

std::vector<std::string> SortedPortNames(const std::vector<std::string>& names) {
  std::vector<unsigned long> numbers;
  for (size_t i = 0; i < names.size() && i < static_cast<size_t>(kMaxListedPorts); ++i) {
    numbers.push_back(PortNumberOf(names[i]));
  }
  std::sort(numbers.begin(), numbers.end());
  std::vector<std::string> sorted;
  for (unsigned long number : numbers) sorted.push_back("COM" + std::to_string(number));
  return sorted;
}

bool SamePortName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldedLetter(x) == FoldedLetter(y); });
}

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
