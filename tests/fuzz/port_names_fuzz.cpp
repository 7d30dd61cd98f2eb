// The port-name rules on any registry text: the number after "COM", the sorted list of at most 50
// names written back without leading zeros, the letter-case comparison and the "PortName" check.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "link/reader_ports.h"

namespace {

// The digits after the first three characters, saturating at 999999999.
unsigned long ReferenceNumber(const std::string& name) {
  std::string digits;
  for (size_t i = 3; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) digits += name[i];
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.empty()) return 0;
  if (digits.size() > 9) return 999999999;
  return std::stoul(digits);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Names separated by LF, as many as the input holds.
  std::vector<std::string> names(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      names.emplace_back();
    } else {
      names.back() += static_cast<char>(data[i]);
    }
  }

  std::vector<unsigned long> numbers;
  for (size_t i = 0; i < names.size(); ++i) {
    const unsigned long number = PortNumberOf(names[i]);
    FUZZ_CHECK(number == ReferenceNumber(names[i]));
    if (i < static_cast<size_t>(kMaxListedPorts)) numbers.push_back(number);
    const std::string& name = names[i];
    const bool comPrefix = name.size() >= 3 && Upper(name[0]) == 'C' && Upper(name[1]) == 'O' && Upper(name[2]) == 'M';
    FUZZ_CHECK(IsUsablePortName(name) == (comPrefix && number != 0));
  }
  std::sort(numbers.begin(), numbers.end());
  const std::vector<std::string> sorted = SortedPortNames(names);
  FUZZ_CHECK(sorted.size() == numbers.size());
  for (size_t i = 0; i < sorted.size(); ++i) {
    FUZZ_CHECK(sorted[i] == "COM" + std::to_string(numbers[i]));
    FUZZ_CHECK(PortNumberOf(sorted[i]) == numbers[i]);
  }

  for (size_t i = 0; i + 1 < names.size(); ++i) {
    const std::string& a = names[i];
    const std::string& b = names[i + 1];
    bool same = a.size() == b.size();
    for (size_t k = 0; same && k < a.size(); ++k) same = Upper(a[k]) == Upper(b[k]);
    FUZZ_CHECK(SamePortName(a, b) == same && SamePortName(b, a) == same);
    FUZZ_CHECK(SamePortName(a, a));
  }
  return 0;
}
