// The number rule of the port list: the text after "COM" read as a decimal number (the prefix is
// not checked), sorted ascending with duplicates kept and written back without leading zeros.
#include "link/port_names.h"

#include <algorithm>

namespace {

// Larger numbers are no port any system has; saturating keeps the arithmetic defined.
constexpr unsigned long kLargestPortNumber = 999999999;

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
