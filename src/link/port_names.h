// Serial port names as the port list shows them: "COM" and a decimal number, sorted by number.
// Pure text work; the list control itself belongs to the shell.
#pragma once

#include <string>
#include <vector>

// The port list keeps at most this many entries after sorting.
inline constexpr int kMaxListedPorts = 50;

// The decimal number after the first three characters; 0 when no digit follows them.
unsigned long PortNumberOf(const std::string& name);

// The first 50 names in their order, turned into numbers, sorted, and written back as "COM" + number.
std::vector<std::string> SortedPortNames(const std::vector<std::string>& names);

// Whether two port names name the same port: Windows port names ignore letter case, so "com7"
// is COM7. Only ASCII letters are folded.
bool SamePortName(const std::string& a, const std::string& b);
