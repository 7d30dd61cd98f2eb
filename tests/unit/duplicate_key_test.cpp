// Add new's duplicate search over the lines of a list: which line, if any, already holds the
// key and description about to be appended.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keystore/duplicate_key.h"

namespace {

std::string Line(const char* key, const char* description) {
  return std::string("OI=0 LL=0 DI=0 SB=0 WM=0 SN=01 BN=0 M_KEY=") + key + " Description=" +
         description;
}

// The number of the first line that matches, or -1; the search stops there as Add new does.
int FindDuplicate(const std::vector<std::string>& lines, const char* spacedKey,
                  const char* description) {
  DuplicateKeySearch search{spacedKey, description};
  KeyRecord record = {};
  for (const std::string& line : lines) {
    if (TakeLineForDuplicate(&search, line.c_str(), &record)) return search.line;
  }
  return -1;
}

TEST(DuplicateKey, FindsTheLineWithTheSameSpacedKeyAndDescription) {
  const std::string zeros = Line("000000000000", "Gate");
  const std::string other = Line("A1B2C3D4E5F6", "Office");
  const std::string lower = Line("a1b2c3d4e5f6", "Office");
  const std::string empty = Line("A1B2C3D4E5F6", "");
  const struct {
    std::vector<std::string> lines;
    const char* key;
    const char* description;
    int expected;
  } cases[] = {
      {{zeros}, "00 00 00 00 00 00", "Gate", 0},
      {{other, zeros, other}, "00 00 00 00 00 00", "Gate", 1},
      {{zeros, zeros}, "00 00 00 00 00 00", "Gate", 0},
      // One key may be listed with several descriptions.
      {{zeros}, "00 00 00 00 00 00", "Gate 2", -1},
      {{zeros}, "00 00 00 00 00 00", "gate", -1},
      {{zeros}, "00 00 00 00 00 00", "Gate ", -1},
      // The key is compared spaced, and case counts.
      {{zeros}, "000000000000", "Gate", -1},
      {{lower}, "A1 B2 C3 D4 E5 F6", "Office", -1},
      {{other, empty}, "A1 B2 C3 D4 E5 F6", "", 1},
      {{}, "00 00 00 00 00 00", "Gate", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindDuplicate(c.lines, c.key, c.description), c.expected)
        << c.key << " / " << c.description << " in " << c.lines.size() << " lines";
  }
}

}  // namespace
