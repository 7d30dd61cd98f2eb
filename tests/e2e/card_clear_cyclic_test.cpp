// Clear with its question, and the cyclic runs: card after card until the first one that fails,
// with unique codes on user cards recorded in usersData.data.
#include <set>

#include "card_scenario.h"
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

}  // namespace
