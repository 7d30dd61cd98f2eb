// The port list's number rule: sorting by number, duplicates kept, at most 50 entries,
// any three leading characters taken as the prefix.
#include "link/reader_ports.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(SortedPortNames, SortsByNumber) {
  const struct {
    const char* name;
    Names given;
    Names sorted;
  } cases[] = {
      {"by number, not text", {"COM10", "COM3", "COM1"}, {"COM1", "COM3", "COM10"}},
      {"duplicates stay", {"COM3", "COM1", "COM3"}, {"COM1", "COM3", "COM3"}},
      {"other prefix", {"CNCA0", "COM2"}, {"COM0", "COM2"}},
      {"not a number", {"COMx", "COM4"}, {"COM0", "COM4"}},
      {"leading zeros dropped", {"COM007", "COM12"}, {"COM7", "COM12"}},
      {"four digits and more", {"COM1000", "COM999", "COM12345"}, {"COM999", "COM1000", "COM12345"}},
      {"short name", {"CO", "COM5"}, {"COM0", "COM5"}},
      {"empty", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SortedPortNames(c.given), c.sorted) << c.name;
}

TEST(SortedPortNames, KeepsTheFirstFiftyRead) {
  Names given;
  for (int n = 60; n >= 1; --n) given.push_back("COM" + std::to_string(n));
  const Names sorted = SortedPortNames(given);
  ASSERT_EQ(sorted.size(), 50u);
  EXPECT_EQ(sorted.front(), "COM11");
  EXPECT_EQ(sorted.back(), "COM60");
}

TEST(PortNumberOf, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(PortNumberOf("COM99999999999999999999"), 999999999ul);
  EXPECT_EQ(PortNumberOf("COM12a"), 12ul);
}

TEST(SamePortName, IgnoresLetterCaseOnly) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"COM7", "COM7", true},   {"com7", "COM7", true},   {"CoM12", "cOm12", true}, {"COM7", "COM70", false},
      {"COM7", "COM07", false}, {"COM1", "COM7", false},  {"", "", true},           {"COM7", "", false},
      {"COM\xE0", "COM\xC0", false},  // only ASCII letters are folded
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SamePortName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(SamePortName(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

}  // namespace
