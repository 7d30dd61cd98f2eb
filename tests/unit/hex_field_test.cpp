// The hexadecimal fields' text rules: blanks removed and restored, the typing filter, and the
// commit of what was typed into bytes and the spaced text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/form_state.h"

namespace {

TEST(StripSpaces, RemovesEveryBlankInPlace) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"00 00 00 00 00 00", "000000000000"},
      {"11 22 33 44 55 66 77", "11223344556677"},
      {"  1A  2F ", "1A2F"},
      {"", ""},
      {"   ", ""},
      {"ABC", "ABC"},
  };
  for (const auto& c : cases) {
    char text[32];
    std::strcpy(text, c.in);
    StripSpaces(text);
    EXPECT_STREQ(text, c.out) << "from \"" << c.in << "\"";
  }
}

TEST(HexFieldFilter, FindsTheFirstRejectedCharacter) {
  const struct {
    const char* text;
    int rejected;
  } cases[] = {
      {"", -1},
      {"0123456789ABCDEF", -1},
      {"1A2G", 3},
      {"12 34", 2},
      {"-", 0},
      {"a", 0},  // lower case only arrives as capitals through the edit's upper-case style
      {"AB\xC0", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(FirstRejectedPosition(c.text), c.rejected) << "\"" << c.text << "\"";
}

TEST(HexFieldFilter, RemovesRejectedCharactersOneAfterTheOther) {
  // A pasted "12 3-4G": each pass removes the first rejected character, as the edit's change
  // notifications would, until only digits are left.
  char text[32] = "12 3-4G";
  std::vector<int> removedAt;
  for (int p = FirstRejectedPosition(text); p >= 0; p = FirstRejectedPosition(text)) {
    removedAt.push_back(p);
    RemoveCharAt(text, p);
  }
  EXPECT_STREQ(text, "1234");
  EXPECT_EQ(removedAt, (std::vector<int>{2, 3, 4}));
}

TEST(HexFieldCommit, PadsCutsAndConvertsTheTypedText) {
  const struct {
    const char* typed;
    const HexFieldLayout& layout;
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {"000000000000", kKeyFieldLayout, {0, 0, 0, 0, 0, 0}, "00 00 00 00 00 00"},
      {"1A2", kKeyFieldLayout, {0x1A, 0x2F, 0xFF, 0xFF, 0xFF, 0xFF}, "1A 2F FF FF FF FF"},
      {"", kKeyFieldLayout, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FF FF FF FF FF FF"},
      {"", kDataFieldLayout, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FF FF FF FF FF FF FF"},
      {"11223344556677", kDataFieldLayout, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, "11 22 33 44 55 66 77"},
      {"0123456789ABCDEF", kKeyFieldLayout, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}, "01 23 45 67 89 AB"},
      {"G1zz", kKeyFieldLayout, {0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, "01 00 FF FF FF FF"},
  };
  for (const auto& c : cases) {
    uint8_t bytes[7] = {};
    char text[32] = {};
    CommitHexText(c.typed, c.layout, bytes, text);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + c.layout.byteCount), c.bytes) << "\"" << c.typed << "\"";
    EXPECT_STREQ(text, c.text) << "\"" << c.typed << "\"";
  }
}

}  // namespace
