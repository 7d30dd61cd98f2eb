// The card journal on a real Windows file system under Wine: a new journal, appends behind every
// ending a crash or another program may have left, a journal held open, and the end of a run.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/card_journal.h"
#include "protocol/win/card_journal_file.h"
#include "ui/ui_text.h"

namespace {

// A user card cleared at sector 1, block 0, and its line after its date and time.
JournalEntry ClearedCard() {
  JournalEntry entry;
  entry.time = {2026, 1, 1, 10, 0, 0};
  entry.operation = "Clear";
  entry.cardType = "User";
  entry.sector = 1;
  entry.block = 0;
  return entry;
}
const std::string kCleared = JournalLine(ClearedCard());
const std::string kNames = UiTextOf(kEnglish).journalHeader;

std::string Utf16(const std::string& ascii) {
  std::string bytes;
  for (char c : ascii) bytes += {c, '\0'};
  return bytes;
}

const std::string kStart = "\xFF\xFE" + Utf16(JournalHeader(kNames));
const std::string kOldLine = Utf16(kCleared);

class CardJournalFile : public ::testing::Test {
 protected:
  void SetUp() override {
    g_language = kEnglish;
    SelectUiText();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "keyloom_journal_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, previous_);
    SetCurrentDirectoryA(dir_.c_str());
    RemoveAll();
  }
  void TearDown() override {
    RemoveAll();
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(dir_.c_str());
  }
  void RemoveAll() {
    for (const std::string& name : Files()) DeleteFileA(name.c_str());
  }
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("cardJournal*.csv", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName); while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }
  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string dir_;
  char previous_[MAX_PATH] = "";
};

struct StartCase {
  const char* name;
  std::string before;  // the journal as it is found; empty: there is none
  std::string after;
};

TEST_F(CardJournalFile, EachLineLandsOnALineOfItsOwn) {
  const StartCase kCases[] = {
      {"no journal yet: it begins with its byte-order mark and the header", "", kStart + kOldLine},
      {"an append", kStart + kOldLine, kStart + kOldLine + kOldLine},
      {"a line a crash cut short gets its line end first", kStart + Utf16("2026-01-01 10:00"),
       kStart + Utf16("2026-01-01 10:00\r\n") + kOldLine},
      {"a character a crash cut in half is dropped", kStart + kOldLine + Utf16("20").substr(0, 3),
       kStart + kOldLine + Utf16("2\r\n") + kOldLine},
      {"only the byte-order mark: the header comes again", "\xFF\xFE", kStart + kOldLine},
  };
  for (const StartCase& c : kCases) {
    SCOPED_TRACE(c.name);
    RemoveAll();
    if (!c.before.empty()) Write(kJournalFileName, c.before);
    const JournalOutcome outcome = AppendToJournal(kCleared, kNames);
    EXPECT_EQ(outcome.status, JournalStatus::kWritten);
    EXPECT_EQ(Read(kJournalFileName), c.after);
    EXPECT_EQ(Files().size(), 1u);
  }
  // No line (a success that answers no write or clear): nothing is added.
  const std::string before = Read(kJournalFileName);
  EXPECT_EQ(AppendToJournal("", kNames).status, JournalStatus::kWritten);
  EXPECT_EQ(Read(kJournalFileName), before);
}

// A journal that a spreadsheet saved in its own form (8-bit text with semicolons, say) is kept
// whole under a dated name, and a new journal begins: no line is mixed into another form.
TEST_F(CardJournalFile, AJournalSavedInAnotherFormIsKeptAsItIs) {
  const std::string saved = "Date and time;Operation\r\n2026-01-01 10:00:00;Clear\r\n";
  Write(kJournalFileName, saved);
  EXPECT_EQ(AppendToJournal(kCleared, kNames).status, JournalStatus::kWritten);
  EXPECT_EQ(Read(kJournalFileName), kStart + kOldLine);
  const std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 2u);
  const std::string aside = files[0] == kJournalFileName ? files[1] : files[0];
  EXPECT_EQ(aside.size(), std::string("cardJournal-2026-12-08-173005.csv").size()) << aside;
  EXPECT_EQ(Read(aside), saved);
}

// Held by another program: the lines wait, are added with the next append once it is free, and
// what still waits at the end of the run goes to a dated file beside it.
TEST_F(CardJournalFile, LinesWaitWhileTheJournalIsHeld) {
  Write(kJournalFileName, kStart + kOldLine);
  HANDLE held = CreateFileA(kJournalFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(AppendToJournal(kCleared, kNames).status, JournalStatus::kHeld);
  EXPECT_EQ(AppendToJournal(kCleared, kNames).status, JournalStatus::kHeld);
  CloseHandle(held);
  EXPECT_EQ(AppendToJournal(kCleared, kNames).status, JournalStatus::kWritten);
  EXPECT_EQ(Read(kJournalFileName), kStart + kOldLine + kOldLine + kOldLine + kOldLine);

  held = CreateFileA(kJournalFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(AppendToJournal(kCleared, kNames).status, JournalStatus::kHeld);
  std::string savedIn;
  EXPECT_EQ(SaveWaitingJournalLines(kNames, &savedIn), JournalLeftover::kSavedAside);
  CloseHandle(held);
  EXPECT_EQ(Read(savedIn), kStart + kOldLine);
  EXPECT_EQ(SaveWaitingJournalLines(kNames, &savedIn), JournalLeftover::kNone);
  EXPECT_EQ(Read(kJournalFileName).size(), (kStart + kOldLine + kOldLine + kOldLine + kOldLine).size());
}

}  // namespace
