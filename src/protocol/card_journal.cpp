// The card journal's line format: tab-separated fields in a fixed order, the date as
// "YYYY-MM-DD HH:MM:SS", numbers and codes as the converter shows them, and free text made safe
// for a spreadsheet.
#include "protocol/card_journal.h"

#include <cstdio>

#include "base/hex_text.h"
#include "base/card_number.h"

namespace {

constexpr char kSeparator = '\t';
constexpr char kLineEnd[] = "\r\n";

// A text as one field: a tab or a line end would split the row, so each becomes a blank; a text
// with a quote, or with a comma or semicolon that a spreadsheet may take for a separator as well,
// is quoted, its quotes doubled; and a text that a spreadsheet would take for a formula starts
// with an apostrophe, which the spreadsheet shows as text.
std::string Field(const std::string& text) {
  std::string field;
  bool quoted = false;
  for (char c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    if (c == '"') field += '"';
    quoted = quoted || c == '"' || c == ',' || c == ';';
    field += c;
  }
  if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@')) {
    field.insert(0, 1, '\'');
  }
  return quoted ? '"' + field + '"' : field;
}

std::string Number(int value) { return value < 0 ? std::string() : std::to_string(value); }

std::string Row(const std::string* fields, int count) {
  std::string row;
  for (int i = 0; i < count; ++i) {
    if (i > 0) row += kSeparator;
    row += fields[i];
  }
  return row + kLineEnd;
}

}  // namespace

std::string JournalHeader(const std::string& names) {
  std::string fields[kJournalColumnCount];
  size_t start = 0;
  for (int i = 0; i < kJournalColumnCount; ++i) {
    const size_t end = names.find(kSeparator, start);
    fields[i] = Field(names.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? names.size() : end + 1;
  }
  return Row(fields, kJournalColumnCount);
}

std::string JournalLine(const JournalEntry& entry) {
  char time[32];
  const JournalTime& t = entry.time;
  std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  std::string fields[kJournalColumnCount] = {
      time,
      Field(entry.operation),
      Field(entry.cardType),
      Field(entry.workMode),
      Number(entry.sector),
      Number(entry.block),
  };
  int next = 6;
  if (entry.carriesData) {
    char data[32];
    HexPairsText(entry.sectorData, sizeof entry.sectorData, data);
    fields[next++] = data;
    for (int format : {kFormat40Bit, kFormat24Bit}) {
      const CardNumberTexts number = CardNumberFor(entry.sectorData, format);
      fields[next++] = number.touchMemory;
      fields[next++] = number.hex;
      fields[next++] = number.decimal;
    }
  } else {
    next += 7;
  }
  for (const std::string& setting : entry.settings) fields[next++] = Field(setting);
  fields[next] = Field(entry.keyDescription);
  return Row(fields, kJournalColumnCount);
}
