// A device change while a question, a dialog or a report of the program is open: the reader check
// waits until it is closed, so no wait opens under it and nothing uses a port the check closed.
#include "card_scenario.h"
#include "expected_texts.h"

namespace {

class HeldCheck : public CardScenario {
 protected:
  // Starts Keyloom with no reader plugged in and waits until its search has said so.
  HWND StartWithoutReader() {
    EXPECT_TRUE(simreader::SetSerialPorts({"COM2"}));
    HWND main = Start();
    if (main == nullptr) return nullptr;
    ExpectBox(kNotFound, kError);
    ExpectBox(kSelectHint, kHint);
    Idle(main);
    return main;
  }
  // For the given time the dialog stays the only one, over a disabled main window, with no wait.
  void ExpectHeldUnder(HWND main, HWND dialog, int ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
      ASSERT_TRUE(ui::TopWindows(pid(), "msctls_progress32").empty()) << "a wait opened under the dialog";
      ASSERT_EQ(ui::TopWindows(pid(), "#32770"), std::vector<HWND>{dialog}) << "another box opened";
      ASSERT_FALSE(ui::Enabled(main)) << "the main window came back under the dialog";
      ui::Pause(50);
    }
  }
};

// The reader is plugged in while Clear's question is open; Yes comes when the check, had it run
// at once, would be in the search delay or in the handshake wait.
class HeldUnderQuestion : public HeldCheck, public ::testing::WithParamInterface<int> {};

TEST_P(HeldUnderQuestion, PluggedInUnderTheClearQuestion) {
  const int answerAfterMs = GetParam();
  HWND main = StartWithoutReader();
  ASSERT_NE(main, nullptr);
  Press(main, 11);
  ui::MessageBoxView question;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), 5000, &question, keyloomExe_));
  ASSERT_EQ(question.text, shown::kConfirmClear.english);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ExpectHeldUnder(main, question.window, answerAfterMs);
  ASSERT_TRUE(ui::PressDialogButton(question.window, IDYES));
  // With no port open the Clear starts the search, which finds the reader once; the held check
  // then finds the port open and reopens it silently.
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  ExpectNoBox(2500);
  EXPECT_TRUE(ui::TopWindows(pid(), "msctls_progress32").empty());
  EXPECT_EQ(Received(), "AT+READS_USB") << "only the handshake goes out";
  EXPECT_EQ(Version(main), "1.00");
}

INSTANTIATE_TEST_SUITE_P(AnswerTime, HeldUnderQuestion, ::testing::Values(2500, 3700));

TEST_F(HeldCheck, PluggedInUnderAbout) {
  HWND main = StartWithoutReader();
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, 5);
  HWND about = ui::WaitTopWindow(pid(), "#32770", 5000);
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ExpectHeldUnder(main, about, 3000);
  ASSERT_TRUE(ui::PressDialogButton(about, IDOK));
  EXPECT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 1000), nullptr) << "the search follows About";
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
}

// The reader is pulled out while a user write's usersData.data report is open: the frame still
// goes out on the open port, and only then is the connection reported broken.
TEST_F(HeldCheck, UnpluggedUnderAUserWriteReport) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  Press(main, 24);
  Press(main, 9);
  ui::MessageBoxView report;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), 5000, &report, keyloomExe_));
  ASSERT_EQ(report.text.rfind("Error opening file usersData.data!", 0), 0u) << report.text;
  simreader::UnplugReader({"COM2"});
  simreader::DeliverDeviceChange(main);
  ExpectHeldUnder(main, report.window, 3500);
  ASSERT_TRUE(ui::PressDialogButton(report.window, IDOK));
  ExpectBox(kOperationSuccessful, kSuccess, 15000);
  ExpectBox(kConnectionBroken, kError);
  Idle(main);
  EXPECT_EQ(Received().substr(0, 5), "AT+Uw");
  EXPECT_EQ(Version(main), "x.xx");
}

}  // namespace
