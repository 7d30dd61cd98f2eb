// Plugging and unplugging the reader: the device-change notifications the fixture delivers, the
// 2 s debounce, the re-check of an open port, and a check that falls inside a running wait. These
// scenarios are about the program's own timings and run with the real ones.
#include "card_scenario.h"

namespace {

class Hotplug : public CardScenario {
 protected:
  Hotplug() { UseRealTimings(); }

  // Waits for a box and says how long it took.
  ULONGLONG MillisecondsUntilBox(ULONGLONG since) {
    if (ui::WaitTopWindow(pid(), "#32770", 8000) == nullptr) return 0;
    return GetTickCount64() - since;
  }

  // Starts Keyloom with the reader plugged in and delivers a device change at its found box, so
  // that the debounce ends 2 s later, inside a handshake wait of 3 s that starts at once; returns once
  // that wait runs. The time of the change goes to `changedAt` when given.
  void StartWithAChangeDueInTheHandshakeWait(HWND* main, ULONGLONG* changedAt = nullptr) {
    timings_.handshakeTickMs = 1500;
    ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
    *main = Start();
    ASSERT_NE(*main, nullptr);
    ui::MessageBoxView found;
    ASSERT_TRUE(ui::WaitMessageBox(pid(), 6000, &found, keyloomExe_));
    EXPECT_EQ(found.text, FoundText("COM5"));
    if (changedAt != nullptr) *changedAt = GetTickCount64();
    simreader::DeliverDeviceChange(*main);
    const size_t waits = WaitsOpened();
    ASSERT_TRUE(ui::PressDialogButton(found.window, IDOK));
    ASSERT_EQ(NextWaitCaption(waits), "Reading Tarnel settings");
  }
};

TEST_F(Hotplug, PluggingInWhileIdleStartsTheSearch) {
  HWND main = StartWithoutReader({"COM2"});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  const size_t waits = WaitsOpened();
  const ULONGLONG plugged = GetTickCount64();
  simreader::DeliverDeviceChange(main);
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 4000), nullptr);
  const ULONGLONG elapsed = GetTickCount64() - plugged;
  EXPECT_GE(elapsed, 1800u);
  EXPECT_LE(elapsed, 3000u);
  EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader");
  ExpectFoundAndRead();
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2", "COM5"}));
}

// Another device comes or goes while the reader stays: the port is reopened and nothing is shown.
TEST_F(Hotplug, OtherDeviceChangeWhileConnectedReopensSilently) {
  HWND main = StartConnected({"COM2"});
  ASSERT_NE(main, nullptr);
  WatchPortOpens();
  simreader::DeliverDeviceChange(main);
  EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
  ExpectNoBox();
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
  EXPECT_TRUE(ui::Enabled(main));
  // The link is still open: unplugging now breaks it.
  simreader::UnplugReader({"COM2"});
  simreader::DeliverDeviceChange(main);
  ExpectBox(kConnectionBroken, kMessageError, 6000);
}

// A change during the handshake wait: the check waits for the reply to be read, then reopens
// the port; no second wait opens and nothing reads from a closed port.
TEST_F(Hotplug, DeviceChangeDuringTheHandshakeWait) {
  HWND main = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWithAChangeDueInTheHandshakeWait(&main));
  const size_t waits = WaitsOpened();
  WatchPortOpens();
  ExpectBox(kSettingsRead, kMessageSuccess);
  // The deferred check closes and reopens the port for a second, silently.
  EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
  ExpectNoBox();
  EXPECT_EQ(WaitsOpened(), waits) << "a second wait opened";
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
}

// Plugged in during the search delay: the check waits for the search instead of opening a second one.
// The delay lasts 3 s, so the debounce ends inside it.
TEST_F(Hotplug, DeviceChangeDuringTheSearchDelay) {
  timings_.searchTickMs = 30;
  HWND main = StartWithoutReader({"COM2"});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ui::PostCommand(main, kIdSearch);
  ExpectFoundAndRead();
  WatchPortOpens();
  // The held check finds the port open and reopens it without a word.
  EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
  ExpectNoBox();
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
}

// The reader pulled out, one row per moment: the connection is reported broken once, when the
// check runs, after whatever was under way when it went; the reader's port is off the list.
enum class Moment {
  kConnected,        // idle and connected, one device change
  kConnectedBurst,   // idle and connected, six device changes 250 ms apart
  kHandshakeWait,    // the check comes due inside the handshake wait
  kUserWriteReport,  // a user write's usersData.data report is open
};

struct UnplugRow {
  const char* name;
  Moment moment;
  int earliestMs, latestMs;  // when the first box comes after the first change; 0: not timed
  const char* sent;          // all that went out on the open port
};

const UnplugRow kUnplugRows[] = {
    {"WhileConnected", Moment::kConnected, 2700, 4500, ""},
    // The check follows the first change, not the last.
    {"BurstOfDeviceChanges", Moment::kConnectedBurst, 2700, 4000, ""},
    // The wait that reads from a port the system no longer lists ends there, before its reply is read.
    {"DuringTheHandshakeWait", Moment::kHandshakeWait, 0, 0, "AT+READS_USB"},
    // The check waits until the report is closed; the write it stopped sends nothing.
    {"UnderAUserWriteReport", Moment::kUserWriteReport, 0, 0, ""},
};

void PrintTo(const UnplugRow& row, std::ostream* out) { *out << row.name; }

class Unplugged : public Hotplug, public ::testing::WithParamInterface<UnplugRow> {};

TEST_P(Unplugged, ReportsTheBrokenConnectionOnce) {
  const UnplugRow& row = GetParam();
  HWND main = nullptr;
  ULONGLONG firstChange = 0, lastChange = 0;
  const auto deliver = [&](HWND window) {
    lastChange = GetTickCount64();
    if (firstChange == 0) firstChange = lastChange;
    simreader::DeliverDeviceChange(window);
  };
  switch (row.moment) {
    case Moment::kConnected:
    case Moment::kConnectedBurst:
      main = StartConnected({"COM2"});
      ASSERT_NE(main, nullptr);
      simreader::UnplugReader({"COM2"});
      for (int i = 0; i < (row.moment == Moment::kConnected ? 1 : 6); ++i) {
        if (i > 0) ui::Pause(250);
        deliver(main);
      }
      break;
    case Moment::kHandshakeWait:
      ASSERT_NO_FATAL_FAILURE(StartWithAChangeDueInTheHandshakeWait(&main, &firstChange));
      lastChange = firstChange;
      simreader::UnplugReader({"COM2"});
      break;
    case Moment::kUserWriteReport: {
      main = StartConnected({"COM2"});
      ASSERT_NE(main, nullptr);
      Present("user.card");
      ChooseView(main, kUserCard, kModeSectorData);
      PressNow(main, kIdGenerateBeforeWrite);
      Press(main, kIdWrite);
      const ui::MessageBoxView report = ExpectMessageBox();
      ASSERT_EQ(report.text.rfind("Error opening file usersData.data!", 0), 0u) << report.text;
      simreader::UnplugReader({"COM2"});
      deliver(main);
      ExpectHeldUnder(main, report.window, 3500);
      ASSERT_TRUE(ui::PressDialogButton(report.window, IDOK));
      break;
    }
  }
  if (row.earliestMs > 0) {
    const ULONGLONG elapsed = MillisecondsUntilBox(firstChange);
    EXPECT_GE(elapsed, static_cast<ULONGLONG>(row.earliestMs));
    EXPECT_LE(elapsed, static_cast<ULONGLONG>(row.latestMs));
  }
  ExpectBox(kConnectionBroken, kMessageError, 15000);
  if (HasFatalFailure()) return;
  Idle(main);
  // Had a later change started a debounce of its own, its check would report by now.
  const ULONGLONG lastCheckDue = lastChange + timings().debounceMs + timings().reopenMs + kBoxGraceMs;
  const ULONGLONG now = GetTickCount64();
  ExpectNoBox(now < lastCheckDue ? static_cast<int>(lastCheckDue - now) : kBoxGraceMs);
  EXPECT_EQ(WaitsOpen(), 0u);
  EXPECT_EQ(Received(), row.sent);
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2"}));
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
}

INSTANTIATE_TEST_SUITE_P(Hotplug, Unplugged, ::testing::ValuesIn(kUnplugRows),
                         [](const ::testing::TestParamInfo<UnplugRow>& info) { return std::string(info.param.name); });

}  // namespace
