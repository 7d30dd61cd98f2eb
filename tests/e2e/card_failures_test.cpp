// What goes wrong around a card command: no open port, no acknowledgement, no reply at all, a read
// block with a wrong CRC, the reader's four errors, and a missing usersData.data.
#include "card_scenario.h"

namespace {

class CardFailures : public CardScenario {};

TEST_F(CardFailures, WriteWithNoOpenPortSearchesAndSendsNothing) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM5"}));
  ASSERT_TRUE(simreader::LinkPort("COM5"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  Received();
  Press(main, 9);
  HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 3000);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(ui::Text(wait), "Search for Tarnel reader");
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_EQ(Received(), "");
}

// Without the acknowledgement the wait ends on its first tick; an acknowledgement and then
// silence runs all 165 ticks. Both close the link without a word.
TEST_F(CardFailures, NoAcknowledgementAndNoReply) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  CardControl("ack silent");
  Press(main, 9);
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 3000), nullptr);
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), "msctls_progress32", 5000));
  EXPECT_LT(GetTickCount64() - start, 600u);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_EQ(Received().substr(0, 5), "AT+Mw");

  // Connected again through SEARCH; the reader acknowledges but never answers.
  CardControl("ack ok");
  CardControl("timeout -1");
  Press(main, 7);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  Received();
  Press(main, 9);
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 3000), nullptr);
  const ULONGLONG begin = GetTickCount64();
  ASSERT_TRUE(ui::WaitNoTopWindow(pid(), "msctls_progress32", 40000));
  EXPECT_GT(GetTickCount64() - begin, 8000u);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_EQ(Received().size(), 27u);
}

TEST_F(CardFailures, UnknownCommandEndsTheWaitOnTheFirstTick) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  CardControl("ack unknown");
  Press(main, 10);
  ExpectBox(kInvalidCommand, kError);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_EQ(Version(main), "1.00");
}

TEST_F(CardFailures, ReadBlockWithAWrongCrcChangesNothing) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  Choose(main, 14, 3);
  const std::string data = FieldText(main, 38);
  CardControl("next badcrc");
  RunCardButton(main, 10, kNotRecognized, kError);
  EXPECT_EQ(Selection(main, 14), 3);
  EXPECT_EQ(FieldText(main, 38), data);
  EXPECT_EQ(Version(main), "1.00");
  // The same card read with its CRC intact comes back.
  RunCardButton(main, 10, kOperationSuccessful, kSuccess);
  EXPECT_EQ(Selection(main, 14), 1);
}

TEST_F(CardFailures, EachReaderErrorShowsItsMessage) {
  const struct {
    const char* reply;
    const char* text;
  } kErrors[] = {
      {"ERR_03", "The main reader board did not respond!"},
      {"ERR_04", "The card was not brought to the reader!"},
      {"ERR_05", "The operation failed!"},
      {"ERR_06", "The reader does not support this type of card!"},
  };
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  for (const auto& error : kErrors) {
    CardControl(std::string("next ") + error.reply);
    RunCardButton(main, 9, error.text, kError);
    EXPECT_EQ(Version(main), "1.00");
  }
  EXPECT_EQ(CardBlock("master.card", 1, 0)[0], 'M');
}

TEST_F(CardFailures, GenerateUniqueWithoutUsersDataStillFillsTheField) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  const std::string kOpenError =
      "Error opening file usersData.data!\n\rCheck file availability.\n\rDefault: C:\\Keyloom ver_1_01\\";
  std::string previous = FieldText(main, 38);
  for (int i = 0; i < 2; ++i) {
    Press(main, 23);
    ExpectBox(kOpenError, kError);
    ui::Pause(200);
    const std::string shown = FieldText(main, 38);
    EXPECT_NE(shown, previous);
    EXPECT_EQ(shown.size(), 20u);
    previous = shown;
  }
  EXPECT_FALSE(FileExists("usersData.data"));
}

}  // namespace
