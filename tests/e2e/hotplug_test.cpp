// Plugging and unplugging the reader: the device-change notifications the fixture delivers, the
// 2 s debounce, the re-check of an open port, and a check that falls inside a running wait.
#include "reader_scenario.h"

namespace {

class Hotplug : public ReaderScenario {
 protected:
  // Starts Keyloom with the reader on COM5 and another port, and waits until it is connected.
  HWND StartConnected() {
    EXPECT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
    HWND main = Start();
    if (main == nullptr) return nullptr;
    ExpectBox(FoundText("COM5"), kSuccess);
    ExpectBox(kSettingsRead, kSuccess);
    Idle(main);
    EXPECT_EQ(Version(main), "1.00");
    return main;
  }
  // Waits for a box and says how long it took.
  ULONGLONG MillisecondsUntilBox(ULONGLONG since) {
    if (ui::WaitTopWindow(pid(), "#32770", 8000) == nullptr) return 0;
    return GetTickCount64() - since;
  }
};

TEST_F(Hotplug, UnpluggingWhileConnectedBreaksTheConnection) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  simreader::UnplugReader({"COM2"});
  const ULONGLONG unplugged = GetTickCount64();
  simreader::DeliverDeviceChange(main);
  const ULONGLONG elapsed = MillisecondsUntilBox(unplugged);
  EXPECT_GE(elapsed, 2700u);
  EXPECT_LE(elapsed, 4500u);
  ExpectBox(kConnectionBroken, kError);
  Idle(main);
  ExpectNoBox(3000);
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2"}));
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
}

TEST_F(Hotplug, PluggingInWhileIdleStartsTheSearch) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM2"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  const ULONGLONG plugged = GetTickCount64();
  simreader::DeliverDeviceChange(main);
  HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 4000);
  ASSERT_NE(wait, nullptr);
  const ULONGLONG elapsed = GetTickCount64() - plugged;
  EXPECT_GE(elapsed, 1800u);
  EXPECT_LE(elapsed, 3000u);
  EXPECT_EQ(ui::Text(wait), "Search for Tarnel reader");
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2", "COM5"}));
}

// Another device comes or goes while the reader stays: the port is reopened and nothing is shown.
TEST_F(Hotplug, OtherDeviceChangeWhileConnectedReopensSilently) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  simreader::DeliverDeviceChange(main);
  ExpectNoBox(4500);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
  EXPECT_TRUE(ui::Enabled(main));
  // The link is still open: unplugging now breaks it.
  simreader::UnplugReader({"COM2"});
  simreader::DeliverDeviceChange(main);
  ExpectBox(kConnectionBroken, kError, 6000);
}

TEST_F(Hotplug, BurstOfDeviceChangesGivesOneCheck) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  simreader::UnplugReader({"COM2"});
  const ULONGLONG first = GetTickCount64();
  for (int i = 0; i < 6; ++i) {
    simreader::DeliverDeviceChange(main);
    ui::Pause(250);
  }
  const ULONGLONG elapsed = MillisecondsUntilBox(first);
  EXPECT_GE(elapsed, 2700u) << "the check follows the first change, not the last";
  EXPECT_LE(elapsed, 4000u);
  ExpectBox(kConnectionBroken, kError);
  Idle(main);
  ExpectNoBox(4000);
  EXPECT_EQ(Version(main), "x.xx");
}

// A change during the handshake wait: the check waits for the reply to be read, then reopens
// the port; no second wait opens and nothing reads from a closed port.
TEST_F(Hotplug, DeviceChangeDuringTheHandshakeWait) {
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ui::MessageBoxView found;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), 6000, &found, keyloomExe_));
  EXPECT_EQ(found.text, FoundText("COM5"));
  // The debounce ends 2 s from now, inside the handshake wait that starts in 1.5 s.
  simreader::DeliverDeviceChange(main);
  ui::Pause(1500);
  ASSERT_TRUE(ui::PressDialogButton(found.window, IDOK));
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 1000), nullptr);
  ExpectBox(kSettingsRead, kSuccess);
  // The deferred check closes and reopens the port for a second, silently.
  ExpectNoBox(2500);
  EXPECT_TRUE(ui::TopWindows(pid(), "msctls_progress32").empty()) << "no second wait";
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
}

// Pulled out during the handshake wait: the reply that had arrived is still read and judged, and only
// then is the connection reported broken; nothing reads from a closed port.
TEST_F(Hotplug, UnpluggingDuringTheHandshakeWait) {
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ui::MessageBoxView found;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), 6000, &found, keyloomExe_));
  EXPECT_EQ(found.text, FoundText("COM5"));
  simreader::DeliverDeviceChange(main);
  ui::Pause(1500);
  ASSERT_TRUE(ui::PressDialogButton(found.window, IDOK));
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 1000), nullptr);
  simreader::UnplugReader({"COM2"});
  ExpectBox(kSettingsRead, kSuccess);
  ExpectBox(kConnectionBroken, kError);
  Idle(main);
  ExpectNoBox(2000);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2"}));
}

// Plugged in during the search delay: the check waits for the search instead of opening a second one.
TEST_F(Hotplug, DeviceChangeDuringTheSearchDelay) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM2"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
  simreader::DeliverDeviceChange(main);
  ui::Pause(1500);
  ui::PostCommand(main, 7);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  ExpectNoBox(3000);
  EXPECT_EQ(Version(main), "1.00");
}

}  // namespace
