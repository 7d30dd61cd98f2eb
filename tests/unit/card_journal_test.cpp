// The card journal's lines for known cards: the converter's worked example in both formats, a
// master card's settings, clears that carry less, and free text that must stay one field.
#include "protocol/card_journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/ui_text.h"

namespace {

std::string Tabbed(std::initializer_list<const char*> fields) {
  std::string line;
  for (const char* field : fields) line += std::string(line.empty() ? "" : "\t") + field;
  return line + "\r\n";
}

JournalEntry At(int second) {
  JournalEntry entry;
  entry.time = {2026, 12, 8, 9, 5, second};
  return entry;
}

struct LineCase {
  const char* name;
  JournalEntry entry;
  std::string line;
};

JournalEntry UserWrite() {
  JournalEntry entry = At(7);
  entry.operation = "Write";
  entry.cardType = "User";
  entry.workMode = "Send sector data after logged in";
  entry.sector = 1;
  entry.block = 0;
  entry.carriesData = true;
  const uint8_t data[7] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  std::copy(data, data + 7, entry.sectorData);
  entry.keyDescription = "Gate 2";
  return entry;
}

JournalEntry MasterWrite() {
  JournalEntry entry = At(59);
  entry.operation = "Write";
  entry.cardType = "Master";
  entry.workMode = "Send card ID after logged in";
  entry.sector = 15;
  entry.block = 2;
  entry.settings[0] = "Wiegand 44";
  entry.settings[1] = "Inverse (active '0')";
  entry.settings[2] = "Static";
  entry.settings[3] = "Off";
  return entry;
}

JournalEntry Cleared(const char* cardType, int sector, int block) {
  JournalEntry entry = At(0);
  entry.operation = "Clear";
  entry.cardType = cardType;
  entry.sector = sector;
  entry.block = block;
  return entry;
}

JournalEntry Described(const char* description) {
  JournalEntry entry = Cleared("Master", -1, -1);
  entry.keyDescription = description;
  return entry;
}

// The line of a card cleared: its type, sector and block, and the key description as it is written.
std::string ClearLine(const char* cardType, const char* sector, const char* block, const char* description) {
  return Tabbed({"2026-12-08 09:05:00", "Clear", cardType, "", sector, block, "", "", "", "", "", "", "", "", "", "",
                 "", description});
}
std::string MasterClearLine(const char* description) { return ClearLine("Master", "", "", description); }

TEST(CardJournalTest, EachCardHasItsLine) {
  const LineCase kCases[] = {
      // The converter's worked example: 40 bits, then 24 bits.
      {"user write with data", UserWrite(),
       Tabbed({"2026-12-08 09:05:07", "Write", "User", "Send sector data after logged in", "1", "0",
               "11 22 33 44 55 66 77", "CD00554433221101", "5544332211", "0366216421905", "EA00000033221101",
               "332211", "03351057", "", "", "", "", "Gate 2"})},
      {"master write", MasterWrite(),
       Tabbed({"2026-12-08 09:05:59", "Write", "Master", "Send card ID after logged in", "15", "2", "", "", "", "",
               "", "", "", "Wiegand 44", "Inverse (active '0')", "Static", "Off", ""})},
      {"user clear", Cleared("User", 3, 1), ClearLine("User", "3", "1", "")},
      {"master clear", Cleared("Master", -1, -1), MasterClearLine("")},
      {"tabs and line ends", Described("Gate\t2\r\nnorth"), MasterClearLine("Gate 2  north")},
      {"quotes", Described("\"Main\" gate"), MasterClearLine("\"\"\"Main\"\" gate\"")},
      {"a formula", Described("=HYPERLINK(\"x\")"), MasterClearLine("\"'=HYPERLINK(\"\"x\"\")\"")},
      {"separators of other spreadsheets", Described("Office, 2nd floor; west"),
       MasterClearLine("\"Office, 2nd floor; west\"")},
      {"a minus", Described("-5 floor"), MasterClearLine("'-5 floor")},
  };
  for (const LineCase& c : kCases) EXPECT_EQ(JournalLine(c.entry), c.line) << c.name;
}

// The header row names every column in either language, as fields like the lines' own.
TEST(CardJournalTest, HeaderNamesEachColumnInBothLanguages) {
  for (Language language : {kEnglish, kRussian}) {
    const std::string names = UiTextOf(language).journalHeader;
    EXPECT_EQ(std::count(names.begin(), names.end(), '\t'), kJournalColumnCount - 1) << language;
  }
  EXPECT_EQ(JournalHeader(UiTextOf(kEnglish).journalHeader).substr(0, 121),
            "Date and time\tOperation\tCard type\tWork mode\tSector\tBlock\tSector data\t"
            "\"Touch Memory code (TM, W44)\"\t\"HEX (TM, W44)\"\t\"DEC (");
}

}  // namespace
