// Key lines of keys.data: the fixed field places of a composed line, the key search of the
// parser with its damaged-line cases, and the byte reader's cut of over-long lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "keystore/key_line.h"

namespace {

std::string Compose(const KeyLineSettings& settings, const char* key, const char* description) {
  char line[kKeyLineBufferSize];
  const size_t length = ComposeKeyLine(settings, key, description, line);
  return std::string(line, length);
}

KeyRecord Filled() {
  KeyRecord record = {};
  const char* before = "x";
  strcpy(record.outputInterface, before);
  strcpy(record.indicationControl, before);
  strcpy(record.standbyIndication, before);
  strcpy(record.touchButtonPoll, before);
  strcpy(record.workMode, before);
  strcpy(record.sector, "xx");
  strcpy(record.block, before);
  strcpy(record.keyText, "old key");
  strcpy(record.description, "old description");
  return record;
}

TEST(KeyLine, ComposedFieldsStandAtTheirOffsets) {
  KeyLineSettings settings;
  settings.outputInterface = '2';
  settings.indicationControl = '1';
  settings.standbyIndication = '1';
  settings.touchButtonPoll = '1';
  settings.workMode = '3';
  settings.sector = 5;
  settings.block = 2;
  const std::string line = Compose(settings, "0123456789AB", "Gate 1");
  const struct {
    size_t offset;
    const char* text;
  } fields[] = {{0, "OI=2 "},   {5, "LL=1 "},           {10, "DI=1 "},
                {15, "SB=1 "},  {20, "WM=3 "},          {25, "SN=05 "},
                {31, "BN=2 "},  {36, "M_KEY=0123456789AB "},
                {55, "Description=Gate 1\n"}};
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
    KeyLineReader reader = {};
    size_t completed = 0;
    for (char byte : line) completed += TakeKeyLineByte(&reader, byte);
    ASSERT_EQ(completed, 1u);
    KeyRecord record = Filled();
    ParseKeyLine(reader.text, &record);
    EXPECT_STREQ(record.description, c.description);
    EXPECT_STREQ(record.keyText, "A1B2C3D4E5F6");
    EXPECT_STREQ(record.sector, "15");
    EXPECT_STREQ(record.outputInterface, "0");
    EXPECT_STREQ(record.block, "0");
  }
}

TEST(KeyLine, DescriptionAndKeyAreCutToTheirRoom) {
  const std::string tooLong(300, 'e');
  const std::string line = Compose(KeyLineSettings{}, "0123456789ABCDEF", tooLong.c_str());
  EXPECT_EQ(line.size(), 324u);
  EXPECT_EQ(line.substr(42, 13), "0123456789AB ");
}

TEST(KeyLine, ParserSearchesForEachKey) {
  const struct {
    const char* line;
    const char* oi;
    const char* ll;
    const char* wm;
    const char* sector;
    const char* key;
    const char* description;
  } cases[] = {
      // "LL=" is missing: only the output interface is taken.
      {"OI=1 DI=2 SB=1 WM=2 SN=07 BN=1 M_KEY=112233445566 Description=d", "1", "x", "x", "xx",
       "old key", "old description"},
      // Extra text in front of and between the fields is skipped.
      {"## OI=2 junk LL=1 DI=0  SB=0 WM=3 more SN=12 BN=2 M_KEY=AABBCCDDEEFF  Description=ok", "2",
       "1", "3", "12", "AABBCCDDEEFF", "ok"},
      // A line that ends inside a value keeps what is there.
      {"OI=0 LL=0 DI=0 SB=0 WM=1 SN=0", "0", "0", "1", "0", "old key", "old description"},
      {"", "x", "x", "x", "xx", "old key", "old description"},
      {"OI=", "", "x", "x", "xx", "old key", "old description"},
      {"OI=1 LL=1 DI=1 SB=1 WM=1 SN=01 BN=1 M_KEY=12 Description=", "1", "1", "1", "01",
       "12 Descripti", "old description"},
  };
  for (const auto& c : cases) {
    KeyRecord record = Filled();
    ParseKeyLine(c.line, &record);
    EXPECT_STREQ(record.outputInterface, c.oi) << c.line;
    EXPECT_STREQ(record.indicationControl, c.ll) << c.line;
    EXPECT_STREQ(record.workMode, c.wm) << c.line;
    EXPECT_STREQ(record.sector, c.sector) << c.line;
    EXPECT_STREQ(record.keyText, c.key) << c.line;
    EXPECT_STREQ(record.description, c.description) << c.line;
  }
}

TEST(KeyLine, OverLongDamagedLineIsCutNotOverrun) {
  std::string bytes = "OI=1 LL=0 DI=0 SB=0 WM=0 SN=03 BN=0 M_KEY=000000000000 Description=";
  bytes += std::string(5000, 'z') + "\nOI=2";
  KeyLineReader reader = {};
  size_t completed = 0;
  std::string first;
  for (char byte : bytes) {
    if (TakeKeyLineByte(&reader, byte)) {
      ++completed;
      first = reader.text;
    }
  }
  EXPECT_EQ(completed, 1u);  // the incomplete last line is never a record
  EXPECT_EQ(first.size(), kKeyLineBufferSize - 1);
  KeyRecord record = Filled();
  ParseKeyLine(first.c_str(), &record);
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

}  // namespace
