// What goes wrong around a card command: no open port, no acknowledgement, no reply at all, a read
// block with a wrong CRC, the reader's four errors, and a usersData.data that cannot be used.
#include "card_scenario.h"

#include <commctrl.h>

#include <algorithm>

namespace {

class CardFailures : public CardScenario {
 protected:
  // What the watch of a card wait saw: how long it ran, how far its bar got, and whether the
  // bar started over, as it does when stepped beyond its range.
  struct Watch {
    ULONGLONG elapsedMs = 0;
    int highest = 0;
    bool startedOver = false;
  };

  // Follows the card wait until its window closes.
  Watch WatchWait() {
    Watch watch;
    HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", kEventWaitMs);
    EXPECT_NE(wait, nullptr);
    if (wait == nullptr) return watch;
    const ULONGLONG start = GetTickCount64();
    while (IsWindow(wait) && GetTickCount64() - start < 60000) {
      const int position = static_cast<int>(SendMessageA(wait, PBM_GETPOS, 0, 0));
      if (IsWindow(wait)) {
        watch.startedOver = watch.startedOver || position < watch.highest;
        watch.highest = std::max(watch.highest, position);
      }
      Sleep(5);
    }
    watch.elapsedMs = GetTickCount64() - start;
    return watch;
  }
};

TEST_F(CardFailures, WriteWithNoOpenPortSearchesAndSendsNothing) {
  ASSERT_TRUE(simreader::LinkPort("COM5"));
  HWND main = StartWithoutReader({"COM5"});
  ASSERT_NE(main, nullptr);
  Received();
  const size_t waits = WaitsOpened();
  Press(main, kIdWrite);
  EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader");
  ExpectBoxes(kNoReaderBoxes);
  Idle(main);
  ExpectNoBox();
  EXPECT_EQ(Received(), "");
}

// Without the acknowledgement the wait ends on its first tick; an acknowledgement and then
// silence runs all 165 ticks of the real card wait. Both close the link without a word.
TEST_F(CardFailures, NoAcknowledgementAndNoReply) {
  UseRealTimings();
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  CardControl("ack silent");
  Press(main, kIdWrite);
  Watch watch = WatchWait();
  EXPECT_LT(watch.elapsedMs, 600u);
  EXPECT_LE(watch.highest, 1);
  Idle(main);
  ExpectNoBox();
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_EQ(Received().substr(0, 5), "AT+Mw");

  // Connected again through SEARCH; the reader acknowledges but never answers.
  CardControl("ack ok");
  CardControl("timeout -1");
  Press(main, kIdSearch);
  ExpectFoundAndRead();
  Idle(main);
  Received();
  Press(main, kIdWrite);
  watch = WatchWait();
  // 165 ticks of 50 ms at least, and at most 50 ms and the 60 ms time-out of the poll each; the
  // bar, whose range is the 165 ticks, neither stops short nor starts over.
  EXPECT_GT(watch.elapsedMs, 8000u);
  EXPECT_LT(watch.elapsedMs, 165u * (50 + 60));
  EXPECT_GE(watch.highest, 160);
  EXPECT_LE(watch.highest, 165);
  EXPECT_FALSE(watch.startedOver);
  Idle(main);
  ExpectNoBox();
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_EQ(Received().size(), 27u);
}

TEST_F(CardFailures, UnknownCommandEndsTheWaitOnTheFirstTick) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  CardControl("ack unknown");
  Press(main, kIdRead);
  ExpectBox(kInvalidCommand, kMessageError);
  Idle(main);
  ExpectNoBox();
  EXPECT_EQ(Version(main), "1.00");
}

TEST_F(CardFailures, ReadBlockWithAWrongCrcChangesNothing) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  ChooseView(main, kUserCard, kModeSectorData);
  RunCardButton(main, kIdWrite);
  ChooseView(main, kUserCard, kModeSectorDataDecrypt);
  const std::string data = FieldText(main, kIdDataEdit);
  CardControl("next badcrc");
  RunCardButton(main, kIdRead, kNotRecognized, kMessageError);
  EXPECT_EQ(Selection(main, kIdWorkMode), kModeSectorDataDecrypt);
  EXPECT_EQ(FieldText(main, kIdDataEdit), data);
  EXPECT_EQ(Version(main), "1.00");
  // The same card read with its CRC intact comes back.
  RunCardButton(main, kIdRead);
  EXPECT_EQ(Selection(main, kIdWorkMode), kModeSectorData);
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
    RunCardButton(main, kIdWrite, error.text, kMessageError);
    EXPECT_EQ(Version(main), "1.00");
  }
  EXPECT_EQ(CardBlock("master.card", 1, 0)[0], 'M');
}

// usersData.data that cannot be checked or recorded: its box comes, and no code is handed out.
// "Generate unique" leaves the data as it was; a write that generates its data, single or cyclic,
// stops at the box and sends no frame.
enum class UsersData { kMissing, kHeld };

const struct {
  const char* name;
  UsersData file;
  int button;
} kUncheckedCodes[] = {
    {"Generate unique without the file", UsersData::kMissing, kIdGenerateUnique},
    {"Write with the file held", UsersData::kHeld, kIdWrite},
    {"Write cyclically with the file held", UsersData::kHeld, kIdWriteCyclically},
    {"Write without the file", UsersData::kMissing, kIdWrite},
};

TEST_F(CardFailures, NoCodeIsHandedOutThatCannotBeCheckedAndRecorded) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  ChooseView(main, kUserCard, kModeSectorData);
  const std::string kOpenError =
      "Error opening file usersData.data!\n\rCheck file availability.\n\rDefault: C:\\Keyloom ver_1_01\\";
  const std::string path = PathOf("usersData.data");
  for (const auto& c : kUncheckedCodes) {
    SCOPED_TRACE(c.name);
    DeleteFileA(path.c_str());
    if (c.file != UsersData::kMissing) WriteFile("usersData.data", "0123456789");
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.file == UsersData::kHeld) {
      held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    // "Generate unique" is there while "Generate unique data before write" is unchecked, a write
    // generates while it is checked.
    const bool generateBeforeWrite = c.button != kIdGenerateUnique;
    if (Checked(main, kIdGenerateBeforeWrite) != generateBeforeWrite) PressNow(main, kIdGenerateBeforeWrite);
    const std::string data = FieldText(main, kIdDataEdit);
    Received();
    Press(main, c.button);
    ExpectBox(kOpenError, kMessageError);
    ui::WaitForMessageLoop(main);
    Idle(main);
    ExpectNoBox();
    EXPECT_EQ(SpacedHex(Received()), "");
    EXPECT_EQ(FieldText(main, kIdDataEdit), data);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(FileExists("usersData.data") ? ReadFile("usersData.data") : "<missing>",
              c.file == UsersData::kMissing ? "<missing>" : "0123456789");
  }
}

}  // namespace
