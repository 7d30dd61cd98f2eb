// The card journal's lines: one per card written or cleared, with its card's numbers as the
// converter gives them in both formats, for the installer to register the cards. Portable core:
// the shell supplies the words in the program's language and keeps the file.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/card_commands.h"

// The columns: date and time; operation; card type; work mode; sector; block; sector data; the
// Touch Memory code, HEX and DEC of the Touch Memory / Wiegand 44 format, then of Wiegand 26; the
// four reader settings; the description of the key-list record the key came from.
inline constexpr int kJournalColumnCount = 18;

struct JournalTime {
  int year, month, day, hour, minute, second;
};

// One card written or cleared, as its frame carried it. The system key is never part of it.
struct JournalEntry {
  JournalTime time = {};
  std::string operation;  // the form's words: "Write", "Clear"
  std::string cardType;   // "Master", "User"
  std::string workMode;   // the work mode's words; empty when the frame carries none
  int sector = -1;        // -1 when the frame carries none
  int block = -1;
  bool carriesData = false;  // a user write in a mode that puts the sector data on the card
  uint8_t sectorData[7] = {};
  std::string settings[kSettingGroupCount];  // a master write's reader settings in the form's words
  std::string keyDescription;
};

// The header row of the column names (given separated by tabs) and an entry's line, each ending
// in CR LF. Fields are separated by tabs; a date, a number and a code have one form whatever the
// language.
std::string JournalHeader(const std::string& names);
std::string JournalLine(const JournalEntry& entry);
