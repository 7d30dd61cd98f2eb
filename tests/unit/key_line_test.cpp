// Key lines of keys.data: the fixed field places of a composed line, the key search of the parser
// with its damaged-line cases, the byte reader's cut of over-long lines, and Add new's duplicate test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "keystore/key_list.h"

namespace {

std::string Compose(const KeyLineSettings& settings, const char* key, const char* description) {
  char line[kKeyLineBufferSize];
  return std::string(line, ComposeKeyLine(settings, key, description, line));
}

// The line parsed over a record whose fields all hold text no line gives them.
KeyRecord Parsed(const std::string& line) {
  KeyRecord record = {"x", "x", "x", "x", "x", "xx", "x", "old key", "old description"};
  ParseKeyLine(line.c_str(), &record);
  return record;
}

// The lines the reader completes from the bytes, each cut to the buffer's room.
std::vector<std::string> ReadLines(const std::string& bytes) {
  KeyLineReader reader = {};
  std::vector<std::string> lines;
  for (char byte : bytes) {
    if (TakeKeyLineByte(&reader, byte)) lines.push_back(reader.text);
  }
  return lines;
}

TEST(KeyLine, ComposedFieldsStandAtTheirOffsets) {
  const std::string line = Compose(KeyLineSettings{'2', '1', '1', '1', '3', 5, 2}, "0123456789AB", "Gate 1");
  const struct {
    size_t offset;
    const char* text;
  } fields[] = {{0, "OI=2 "},  {5, "LL=1 "},  {10, "DI=1 "}, {15, "SB=1 "}, {20, "WM=3 "},
                {25, "SN=05 "}, {31, "BN=2 "}, {36, "M_KEY=0123456789AB "}, {55, "Description=Gate 1\n"}};
  for (const auto& field : fields) {
    EXPECT_EQ(line.substr(field.offset, strlen(field.text)), field.text) << field.offset;
  }
  EXPECT_EQ(line.size(), 68u + 6u);
}

TEST(KeyLine, ComposeAndParseRoundTrip) {
  const std::string longest(256, 'd');
  const struct {
    const char* description;
    size_t lineLength;
  } cases[] = {{"", 68}, {"Office, 2nd floor", 68 + 17}, {longest.c_str(), 324}};
  for (const auto& c : cases) {
    KeyLineSettings settings;
    settings.sector = 15;
    const std::string line = Compose(settings, "A1B2C3D4E5F6", c.description);
    ASSERT_EQ(line.size(), c.lineLength);
    ASSERT_EQ(line.back(), '\n');
    const std::vector<std::string> lines = ReadLines(line);
    ASSERT_EQ(lines.size(), 1u);
    const KeyRecord record = Parsed(lines[0]);
    EXPECT_STREQ(record.description, c.description);
    EXPECT_STREQ(record.keyText, "A1B2C3D4E5F6");
    EXPECT_STREQ(record.sector, "15");
    EXPECT_STREQ(record.outputInterface, "0");
    EXPECT_STREQ(record.block, "0");
  }
}

TEST(KeyLine, DescriptionAndKeyAreCutToTheirRoom) {
  const std::string line = Compose(KeyLineSettings{}, "0123456789ABCDEF", std::string(300, 'e').c_str());
  EXPECT_EQ(line.size(), 324u);
  EXPECT_EQ(line.substr(42, 13), "0123456789AB ");
}

TEST(KeyLine, ParserSearchesForEachKey) {
  const struct {
    const char* line;
    const char *oi, *ll, *wm, *sector, *key, *description;
  } cases[] = {
      // "LL=" is missing: only the output interface is taken.
      {"OI=1 DI=2 SB=1 WM=2 SN=07 BN=1 M_KEY=112233445566 Description=d", "1", "x", "x", "xx", "old key",
       "old description"},
      // Extra text in front of and between the fields is skipped.
      {"## OI=2 junk LL=1 DI=0  SB=0 WM=3 more SN=12 BN=2 M_KEY=AABBCCDDEEFF  Description=ok", "2", "1", "3", "12",
       "AABBCCDDEEFF", "ok"},
      // A line that ends inside a value keeps what is there.
      {"OI=0 LL=0 DI=0 SB=0 WM=1 SN=0", "0", "0", "1", "0", "old key", "old description"},
      {"", "x", "x", "x", "xx", "old key", "old description"},
      {"OI=", "", "x", "x", "xx", "old key", "old description"},
      {"OI=1 LL=1 DI=1 SB=1 WM=1 SN=01 BN=1 M_KEY=12 Description=", "1", "1", "1", "01", "12 Descripti",
       "old description"},
  };
  for (const auto& c : cases) {
    const KeyRecord record = Parsed(c.line);
    EXPECT_STREQ(record.outputInterface, c.oi) << c.line;
    EXPECT_STREQ(record.indicationControl, c.ll) << c.line;
    EXPECT_STREQ(record.workMode, c.wm) << c.line;
    EXPECT_STREQ(record.sector, c.sector) << c.line;
    EXPECT_STREQ(record.keyText, c.key) << c.line;
    EXPECT_STREQ(record.description, c.description) << c.line;
  }
}

TEST(KeyLine, OverLongDamagedLineIsCutNotOverrun) {
  const std::string bytes = "OI=1 LL=0 DI=0 SB=0 WM=0 SN=03 BN=0 M_KEY=000000000000 Description=" +
                            std::string(5000, 'z') + "\nOI=2";
  const std::vector<std::string> lines = ReadLines(bytes);
  ASSERT_EQ(lines.size(), 1u);  // the incomplete last line is never a record
  EXPECT_EQ(lines[0].size(), kKeyLineBufferSize - 1);
  const KeyRecord record = Parsed(lines[0]);
  EXPECT_STREQ(record.outputInterface, "1");
  EXPECT_EQ(strlen(record.description), kMaxDescriptionLength);
}

TEST(KeyLine, KeyTextForms) {
  KeyRecord record = {};
  strcpy(record.keyText, "0A1B2C3D4E5F");
  char shown[kSpacedKeyLength + 1];
  ShownKeyText(record, false, shown);
  EXPECT_STREQ(shown, "0A 1B 2C 3D 4E 5F");
  ShownKeyText(record, true, shown);
  EXPECT_STREQ(shown, "*****************");
  EXPECT_STREQ(record.keyText, "0A1B2C3D4E5F");
  uint8_t bytes[6];
  KeyTextToBytes("0A 1B 2C 3D 4E FG", bytes);
  const uint8_t expected[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0xF0};
  EXPECT_EQ(memcmp(bytes, expected, 6), 0);
}

TEST(KeyLine, SectorNumberOfARecord) {
  const struct {
    const char* text;
    int sector;
  } cases[] = {{"05", 5}, {"15", 15}, {"00", 1}, {"ab", 1}, {"", 1}};
  for (const auto& c : cases) {
    KeyRecord record = {};
    strcpy(record.sector, c.text);
    EXPECT_EQ(KeyRecordSector(record), c.sector) << c.text;
  }
}

// The key is compared in its spaced form, so the edit's "00 00 00 00 00 00" matches a stored key
// of twelve zeros; case counts in both fields, and one key may be listed with several descriptions.
TEST(KeyLine, DuplicateHoldsTheSameSpacedKeyAndDescription) {
  const struct {
    const char *storedKey, *storedDescription, *key, *description;
    bool duplicate;
  } cases[] = {
      {"000000000000", "Gate", "00 00 00 00 00 00", "Gate", true},
      {"000000000000", "Gate", "00 00 00 00 00 00", "Gate 2", false},
      {"000000000000", "Gate", "00 00 00 00 00 00", "gate", false},
      {"000000000000", "Gate", "00 00 00 00 00 00", "Gate ", false},
      {"000000000000", "Gate", "000000000000", "Gate", false},
      {"a1b2c3d4e5f6", "Office", "A1 B2 C3 D4 E5 F6", "Office", false},
      {"A1B2C3D4E5F6", "Office", "A1 B2 C3 D4 E5 F6", "Office", true},
      {"A1B2C3D4E5F6", "", "A1 B2 C3 D4 E5 F6", "", true},
  };
  for (const auto& c : cases) {
    const KeyRecord record = Parsed(ReadLines(Compose(KeyLineSettings{}, c.storedKey, c.storedDescription))[0]);
    EXPECT_EQ(RecordHoldsKey(record, c.key, c.description), c.duplicate) << c.storedKey << " / " << c.description;
  }
}

}  // namespace
