// A device change while a question, a dialog or a report of the program is open: the reader check
// waits until it is closed, so no wait opens under it and nothing uses a port the check closed.
#include "card_scenario.h"
#include "expected_texts.h"

namespace {

// About when the held check runs: with the program's real timings.
class HeldCheck : public CardScenario {
 protected:
  HeldCheck() { UseRealTimings(); }
};

// The reader is plugged in while Clear's question is open; Yes comes when the check, had it run
// at once, would be in the search delay or in the handshake wait.
class HeldUnderQuestion : public HeldCheck, public ::testing::WithParamInterface<int> {};

TEST_P(HeldUnderQuestion, PluggedInUnderTheClearQuestion) {
  const int answerAfterMs = GetParam();
  HWND main = StartWithoutReader({"COM2"});
  ASSERT_NE(main, nullptr);
  Press(main, kIdClear);
  ui::MessageBoxView question;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), 5000, &question, keyloomExe_));
  ASSERT_EQ(question.text, shown::kConfirmClear.english);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ExpectHeldUnder(main, question.window, answerAfterMs);
  ASSERT_TRUE(ui::PressDialogButton(question.window, IDYES));
  // With no port open the Clear starts the search, which finds the reader once; the held check
  // then finds the port open and reopens it silently.
  ExpectFoundAndRead();
  WatchPortOpens();
  EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
  ExpectNoBox();
  Idle(main);
  EXPECT_EQ(WaitsOpen(), 0u);
  EXPECT_EQ(Received(), "AT+READS_USB") << "only the handshake goes out";
  EXPECT_EQ(Version(main), "1.00");
}

INSTANTIATE_TEST_SUITE_P(AnswerTime, HeldUnderQuestion, ::testing::Values(2500, 3700));

TEST_F(HeldCheck, PluggedInUnderAbout) {
  HWND main = StartWithoutReader({"COM2"});
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, kCommandAbout);
  HWND about = ui::WaitTopWindow(pid(), "#32770", 5000);
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ExpectHeldUnder(main, about, 3000);
  const size_t waits = WaitsOpened();
  ASSERT_TRUE(ui::PressDialogButton(about, IDOK));
  EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader") << "the search follows About";
  ExpectFoundAndRead();
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
}

// The reader is plugged in while the user has the port list dropped down: the check would refill
// the list under the user's pointer, so it waits until the list is closed up.
TEST_F(HeldCheck, PluggedInWhileThePortListIsDroppedDown) {
  HWND main = StartWithoutReader({"COM2"});
  ASSERT_NE(main, nullptr);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(PortList(main), CB_SHOWDROPDOWN, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  const size_t waits = WaitsOpened();
  simreader::DeliverDeviceChange(main);
  ExpectNoBox(timings().debounceMs + timings().reopenMs + 500);
  EXPECT_EQ(WaitsOpened(), waits) << "a search started under the open list";
  EXPECT_EQ(Ports(main), std::vector<std::string>{"COM2"}) << "the list was refilled under the user";
  SendMessageTimeoutA(PortList(main), CB_SHOWDROPDOWN, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader");
  ExpectFoundAndRead();
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
}

}  // namespace
