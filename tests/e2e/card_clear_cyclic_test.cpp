// Clear with its question, and the cyclic runs: card after card until the first one that fails,
// with unique codes on user cards recorded in usersData.data and every card in the card journal.
#include <set>
#include <sstream>

#include "card_scenario.h"
#include "base/card_number.h"
#include "yes_no_question.h"

namespace {

constexpr char kNoCard[] = "The card was not brought to the reader!";

class ClearAndCycles : public CardScenario {
 protected:
  // Presses Clear and answers its question, which must be the one of the language, with No: nothing
  // is sent and no wait opens.
  void ClearAndAnswerNo(HWND main, Language language) {
    const size_t waits = WaitsOpened();
    Press(main, kIdClear);
    ui::MessageBoxView box = ExpectMessageBox();
    ExpectQuestion(box, TextIn(shown::kConfirmClear, language), language);
    ASSERT_TRUE(ui::PressDialogButton(box.window, IDNO));
    ExpectNoBox();
    EXPECT_EQ(WaitsOpened(), waits);
    EXPECT_EQ(Received(), "");
  }
};

TEST_F(ClearAndCycles, ClearAsksAndDoesNothingOnNo) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  RunCardButton(main, kIdWrite);
  Received();
  ClearAndAnswerNo(main, kEnglish);
  EXPECT_EQ(CardBlock("master.card", 1, 0)[0], 'M');

  Press(main, kIdClear);
  ui::MessageBoxView box = ExpectMessageBox();
  EXPECT_EQ(box.text, shown::kConfirmClear.english);
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDYES));
  ExpectBox(kOperationSuccessful, kMessageSuccess, 30000);
  Idle(main);
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Mc", kZeroKey, "")));
  EXPECT_EQ(CardBlock("master.card", 1, 0), std::string(16, '\0'));
}

// After a switch to Russian the question and its buttons are in Russian; No still sends nothing.
TEST_F(ClearAndCycles, ClearAsksInRussian) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  SwitchLanguage(main, kRussian);
  ClearAndAnswerNo(main, kRussian);
}

// "Clear cyclically" never asks: each card is cleared without a word until none comes.
TEST_F(ClearAndCycles, ClearCyclicallyNeverAsks) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  for (const char* card : {"a.card", "b.card"}) {
    Present(card);
    RunCardButton(main, kIdWrite);
  }
  RemoveCard();
  Received();
  CardControl("timeout 300");
  // No card: the run ends with the first cycle, whatever succeeded before it; a second cycle
  // would send its frame after the pause between cards.
  Press(main, kIdClearCyclically);
  ExpectBox(kNoCard, kMessageError, 30000);
  Idle(main);
  ExpectNoBox(timings().cyclicPauseMs + kBoxGraceMs);
  EXPECT_EQ(Received().size(), 27u);

  Queue("a.card");
  Queue("b.card");
  Press(main, kIdClearCyclically);
  ExpectBox(kNoCard, kMessageError, 40000);
  Idle(main);
  const std::string clear = Frame("Uc", kZeroKey, UserBlock('\0', 1, 0));
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(clear + clear + clear));
  EXPECT_EQ(CardBlock("a.card", 1, 0), std::string(16, '\0'));
  EXPECT_EQ(CardBlock("b.card", 1, 0), std::string(16, '\0'));
  ExpectNoBox();
}

// "Generate unique data before write" checked: every card gets a new code, recorded in
// usersData.data; the run ends with the message of the first card that fails, here no card at all.
TEST_F(ClearAndCycles, CyclicUserWriteGivesEveryCardItsOwnRecordedCode) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorDataDecrypt);
  EXPECT_FALSE(ui::Enabled(ui::Control(main, kIdWriteCyclically)));
  PressNow(main, kIdGenerateBeforeWrite);
  EXPECT_TRUE(Checked(main, kIdGenerateBeforeWrite));
  EXPECT_TRUE(ui::Enabled(ui::Control(main, kIdWriteCyclically)));
  EXPECT_FALSE(ui::Enabled(ui::Control(main, kIdDataEdit)));
  CardControl("timeout 300");
  const char* cards[] = {"1.card", "2.card", "3.card"};
  for (const char* card : cards) Queue(card);
  Press(main, kIdWriteCyclically);
  ExpectBox(kNoCard, kMessageError, 60000);
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
    const std::string data = Masked(frame.substr(11 + 8, 7));
    codes.insert(data.substr(0, 5));
    expectedFile += (i == 0 ? "" : " ") + HexDigits(data.substr(0, 5));
    if (i < 3) {
      EXPECT_EQ(CardBlock(cards[i], 1, 0), frame.substr(11)) << cards[i];
    } else {
      EXPECT_EQ(FieldText(main, kIdDataEdit), SpacedHex(data));
    }
  }
  EXPECT_EQ(codes.size(), 4u);
  EXPECT_EQ(ReadFile("usersData.data"), expectedFile);
  // The run is over: a single Write now shows its own success again.
  Present("1.card");
  RunCardButton(main, kIdWrite);
}

// A card the reader cannot handle ends the run at once; the card after it is never written.
TEST_F(ClearAndCycles, CyclicRunStopsAtTheFirstFailingCard) {
  WriteFile("usersData.data", "");
  WriteFile("ultralight.card", std::string(64, '\0'));
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  Press(main, kIdGenerateBeforeWrite);
  for (const char* card : {"1.card", "ultralight.card", "3.card"}) Queue(card);
  Press(main, kIdWriteCyclically);
  ExpectBox("The reader does not support this type of card!", kMessageError, 30000);
  Idle(main);
  ExpectNoBox(timings().cyclicPauseMs + kBoxGraceMs);
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

// A master card and a cyclic run of three user cards with generated codes go into the journal,
// one line each, with what their frames carried; the journal held by another program from the
// second card on is told once, and the lines that waited are added when Keyloom ends.
TEST_F(ClearAndCycles, TheJournalHasEveryCardWrittenEvenWhileAnotherProgramHoldsIt) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  for (int radio : {kIdInterfaceWiegand44, kIdIndicationInverse, kIdStandbyStatic, kIdTouchPollOff}) {
    ClickRadio(main, radio);
  }
  ChooseView(main, kMasterCard, kModeCardIdAuth);
  RunCardButton(main, kIdWrite);
  const std::string masterFrame = Received();
  RemoveCard();

  ChooseView(main, kUserCard, kModeSectorData);
  PressNow(main, kIdGenerateBeforeWrite);
  // Each card is presented only when the scenario says, so the journal is surely held when the
  // second card's line comes.
  CardControl("timeout -1");
  Queue("1.card");
  Press(main, kIdWriteCyclically);
  ASSERT_TRUE(Eventually([&] { return JournalRows(ReadFile("cardJournal.csv")).size() == 3; }))
      << "the first user card's line did not come";
  HANDLE held = CreateFileA(PathOf("cardJournal.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Queue("2.card");
  ui::MessageBoxView box = ExpectMessageBox(30000);
  EXPECT_EQ(box.text,
            "The card journal cardJournal.csv is open in another program.\nThe new lines are kept and will be added "
            "once it is closed.");
  EXPECT_EQ(box.iconId, kMessageWarning);
  Queue("3.card");
  CardControl("timeout 300");
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
  // The third card's line cannot be written either, and no second box says so.
  ExpectBox(kNoCard, kMessageError, 30000);
  Idle(main);
  CloseHandle(held);
  ASSERT_TRUE(CloseMain(main)) << "Keyloom did not end";

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
    EXPECT_NE(ReadFile("usersData.data").find(HexDigits(data.substr(0, 5))), std::string::npos);
  }
}

}  // namespace
