// Clear with its question, and the cyclic runs: card after card until the first one that fails,
// with unique codes on user cards recorded in usersData.data and every card in the card journal.
#include <set>
#include <sstream>

#include "card_scenario.h"
#include "base/card_number.h"
#include "yes_no_question.h"

namespace {

const std::string kZeroKey(6, '\0');
constexpr char kNoCard[] = "The card was not brought to the reader!";
// The program's pause between the cards of a cyclic run.
constexpr int kCyclicPauseMs = 1000;

class ClearAndCycles : public CardScenario {};

TEST_F(ClearAndCycles, ClearAsksAndDoesNothingOnNo) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  Received();

  Press(main, 11);
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
  ExpectQuestion(box, shown::kConfirmClear.english, kEnglish);
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ExpectNoBox();
  EXPECT_EQ(ui::TopWindows(pid(), "msctls_progress32").size(), 0u);
  EXPECT_EQ(Received(), "");
  EXPECT_EQ(CardBlock("master.card", 1, 0)[0], 'M');

  Press(main, 11);
  ASSERT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
  EXPECT_EQ(box.text, shown::kConfirmClear.english);
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDYES));
  ExpectBox(kOperationSuccessful, kSuccess, 30000);
  Idle(main);
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Mc", kZeroKey, "")));
  EXPECT_EQ(CardBlock("master.card", 1, 0), std::string(16, '\0'));
}

// After a switch to Russian the question and its buttons are in Russian; No still sends nothing.
TEST_F(ClearAndCycles, ClearAsksInRussian) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, 2);
  ASSERT_TRUE(Eventually([&] { return ui::Text(main) == shown::kWindowTitle.russian; }));
  Press(main, 11);
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
  ExpectQuestion(box, shown::kConfirmClear.russian, kRussian);
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDNO));
  ExpectNoBox();
  EXPECT_EQ(Received(), "");
}

// "Clear cyclically" never asks: each card is cleared without a word until none comes.
TEST_F(ClearAndCycles, ClearCyclicallyNeverAsks) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  for (const char* card : {"a.card", "b.card"}) {
    Present(card);
    RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  }
  RemoveCard();
  Received();
  CardControl("timeout 300");
  // No card: the run ends with the first cycle, whatever succeeded before it; a second cycle
  // would send its frame after the pause between cards.
  Press(main, 13);
  ExpectBox(kNoCard, kError, 30000);
  Idle(main);
  ExpectNoBox(kCyclicPauseMs + kBoxGraceMs);
  EXPECT_EQ(Received().size(), 27u);

  Queue("a.card");
  Queue("b.card");
  Press(main, 13);
  ExpectBox(kNoCard, kError, 40000);
  Idle(main);
  const std::string clear = Frame("Uc", kZeroKey, std::string("U\0\0\0\0\0\x01\0", 8) + std::string(8, '\0'));
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(clear + clear + clear));
  EXPECT_EQ(CardBlock("a.card", 1, 0), std::string(16, '\0'));
  EXPECT_EQ(CardBlock("b.card", 1, 0), std::string(16, '\0'));
  ExpectNoBox();
}

// Box 24 checked: every card gets a new code, recorded in usersData.data; the run ends with the
// message of the first card that fails, here no card at all.
TEST_F(ClearAndCycles, CyclicUserWriteGivesEveryCardItsOwnRecordedCode) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Choose(main, 8, 1);
  Choose(main, 14, 3);
  EXPECT_FALSE(ui::Enabled(ui::Control(main, 12)));
  PressNow(main, 24);
  EXPECT_TRUE(Checked(main, 24));
  EXPECT_TRUE(ui::Enabled(ui::Control(main, 12)));
  EXPECT_FALSE(ui::Enabled(ui::Control(main, 38)));
  CardControl("timeout 300");
  const char* cards[] = {"1.card", "2.card", "3.card"};
  for (const char* card : cards) Queue(card);
  Press(main, 12);
  ExpectBox(kNoCard, kError, 60000);
  Idle(main);

  const std::string received = Received();
  ASSERT_EQ(received.size(), 4 * 27u);
  std::set<std::string> codes;
  std::string expectedFile;
  for (int i = 0; i < 4; ++i) {
    const std::string frame = received.substr(27 * i, 27);
    EXPECT_EQ(frame.substr(0, 5), "AT+Uw");
    EXPECT_EQ(frame[11 + 5], 'g');
    // The card stores the masked bytes; unmasked they are the generated data.
    std::string data = frame.substr(11 + 8, 7);
    for (size_t b = 0; b < 7; ++b) data[b] = static_cast<char>(~data[b] ^ "\x5A\x17\xC3\x9E\x04\xB2\x6D"[b]);
    const std::string code = SpacedHex(data.substr(0, 5));
    codes.insert(code);
    std::string compact;
    for (char c : code) if (c != ' ') compact += c;
    expectedFile += (i == 0 ? "" : " ") + compact;
    if (i < 3) {
      EXPECT_EQ(CardBlock(cards[i], 1, 0), frame.substr(11)) << cards[i];
    } else {
      EXPECT_EQ(FieldText(main, 38), SpacedHex(data));
    }
  }
  EXPECT_EQ(codes.size(), 4u);
  EXPECT_EQ(ReadFile("usersData.data"), expectedFile);
  // The run is over: a single Write now shows its own success again.
  Present("1.card");
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
}

// A card the reader cannot handle ends the run at once; the card after it is never written.
TEST_F(ClearAndCycles, CyclicRunStopsAtTheFirstFailingCard) {
  WriteFile("usersData.data", "");
  WriteFile("ultralight.card", std::string(64, '\0'));
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  Press(main, 24);
  for (const char* card : {"1.card", "ultralight.card", "3.card"}) Queue(card);
  Press(main, 12);
  ExpectBox("The reader does not support this type of card!", kError, 30000);
  Idle(main);
  ExpectNoBox(kCyclicPauseMs + kBoxGraceMs);
  EXPECT_EQ(Received().size(), 2 * 27u);
  EXPECT_FALSE(FileExists("3.card"));
  EXPECT_EQ(ReadFile("usersData.data").size(), 21u);
}

// The card journal's rows as the program wrote them: UTF-16 with its byte-order mark, lines of
// tab-separated fields, turned into this process's 8-bit text. Empty when there is no journal.
std::vector<std::vector<std::string>> JournalRows(const std::string& bytes) {
  std::vector<std::vector<std::string>> rows;
  if (bytes.size() < 2) return rows;
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "no UTF-16 byte-order mark";
  const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  std::string text(wide.size() * 2 + 1, '\0');
  text.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                      text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_FALSE(line.empty() || line.back() != '\r') << "a line without CR LF: " << line;
    if (!line.empty()) line.pop_back();
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.push_back("");
    rows.push_back(fields);
  }
  return rows;
}

std::string Compact(const std::string& spaced) {
  std::string compact;
  for (char c : spaced) if (c != ' ') compact += c;
  return compact;
}

// A master card and a cyclic run of three user cards with generated codes go into the journal,
// one line each, with what their frames carried; the journal held by another program from the
// second card on is told once, and the lines that waited are added when Keyloom ends.
TEST_F(ClearAndCycles, TheJournalHasEveryCardWrittenEvenWhileAnotherProgramHoldsIt) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  for (int radio : {27, 29, 31, 34}) ClickRadio(main, radio);
  Choose(main, 14, 2);
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  const std::string masterFrame = Received();
  RemoveCard();

  Choose(main, 8, 1);
  Choose(main, 14, 1);
  PressNow(main, 24);
  // Each card is presented only when the scenario says, so the journal is surely held when the
  // second card's line comes.
  CardControl("timeout -1");
  Queue("1.card");
  Press(main, 12);
  ASSERT_TRUE(Eventually([&] { return JournalRows(ReadFile("cardJournal.csv")).size() == 3; }))
      << "the first user card's line did not come";
  HANDLE held = CreateFileA(PathOf("cardJournal.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Queue("2.card");
  ui::MessageBoxView box = ExpectMessageBox(30000);
  EXPECT_EQ(box.text,
            "The card journal cardJournal.csv is open in another program.\nThe new lines are kept and will be added "
            "once it is closed.");
  EXPECT_EQ(box.iconId, kWarning);
  Queue("3.card");
  CardControl("timeout 300");
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
  // The third card's line cannot be written either, and no second box says so.
  ExpectBox(kNoCard, kError, 30000);
  Idle(main);
  CloseHandle(held);
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(ui::WaitExit(&program(), kEventWaitMs, nullptr)) << "Keyloom did not end";

  const std::vector<std::vector<std::string>> rows = JournalRows(ReadFile("cardJournal.csv"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0][0], "Date and time");
  for (const auto& row : rows) ASSERT_EQ(row.size(), 18u);
  // The master card: the settings its frame carried (f e e e), in the form's words.
  EXPECT_EQ(masterFrame.substr(11 + 1, 5), "feeee");
  EXPECT_EQ(std::vector<std::string>(rows[1].begin() + 1, rows[1].end()),
            (std::vector<std::string>{"Write", "Master", "Send card ID after logged in", "1", "0", "", "", "", "", "",
                                      "", "", "Wiegand 44", "Inverse (active '0')", "Static", "Off", ""}));
  // The user cards: the codes their frames carried, with the converter's numbers of both formats.
  const std::string received = Received();
  ASSERT_EQ(received.size(), 4 * 27u);
  for (int card = 0; card < 3; ++card) {
    SCOPED_TRACE(card);
    const std::vector<std::string>& row = rows[2 + static_cast<size_t>(card)];
    const std::string data = received.substr(27 * card + 11 + 8, 7);
    EXPECT_EQ(row[0].size(), 19u) << row[0];
    EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.begin() + 7),
              (std::vector<std::string>{"Write", "User", "Send sector data after logged in", "1", "0", SpacedHex(data)}));
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    for (int format : {0, 1}) {
      const CardNumberTexts number = CardNumberFor(bytes, format);
      EXPECT_EQ(std::vector<std::string>(row.begin() + 7 + 3 * format, row.begin() + 10 + 3 * format),
                (std::vector<std::string>{number.touchMemory, number.hex, number.decimal}));
    }
    EXPECT_NE(ReadFile("usersData.data").find(Compact(SpacedHex(data.substr(0, 5)))), std::string::npos);
  }
}

}  // namespace
