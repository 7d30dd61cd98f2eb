// The reader search and handshake as the user lives through them, one scenario per outcome:
// the boxes in their order and kinds, the port list and the version label afterwards.
#include "reader_scenario.h"

namespace {

const std::string kHandshake = "AT+READS_USB";

class ReaderSearch : public ReaderScenario {};

TEST_F(ReaderSearch, NoSerialPortAtAll) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNoPorts, kWarning);
  Idle(main);
  ExpectNoBox(1500);
  EXPECT_EQ(Ports(main), (std::vector<std::string>{""}));
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
  // The empty entry picked by hand says the same.
  PickPort(main, 0);
  ExpectBox(kNoPorts, kWarning);
}

TEST_F(ReaderSearch, PortsButNoReader) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM10", "COM3", "COM1"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  ExpectNoBox(1500);
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM1", "COM3", "COM10"}));
  EXPECT_EQ(SelectedPort(main), 0);
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
}

TEST_F(ReaderSearch, ReaderFoundAndConnected) {
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM12", "COM2"}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 2000);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(ui::Text(wait), "Reading Tarnel settings");
  EXPECT_FALSE(ui::Enabled(main));
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2", "COM5", "COM12"}));
  EXPECT_EQ(SelectedPort(main), 1);
  EXPECT_FALSE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Received(), kHandshake);
  ExpectNoBox(1000);
}

TEST_F(ReaderSearch, ReaderOnAFourDigitPort) {
  ASSERT_TRUE(simreader::PlugReader("COM1000"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM1000"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
}

// A "PortName" in lower case names the same port: the list selects it, and a later device change
// finds it still listed and reopens it without a word.
TEST_F(ReaderSearch, ReaderWithALowerCasePortName) {
  ASSERT_TRUE(simreader::LinkPort("COM5"));
  ASSERT_TRUE(simreader::SetSerialPorts({"COM2", "COM5"}));
  ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "com5"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("com5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(SelectedPort(main), 1);
  simreader::DeliverDeviceChange(main);
  ExpectNoBox(4500);
  EXPECT_EQ(Version(main), "1.00");
}

TEST_F(ReaderSearch, ReplyLongerThanTheBuffer) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  Answer("long");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  ExpectNoBox(1000);
}

TEST_F(ReaderSearch, PortCannotBeOpened) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM5", "COM2"}));
  ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "COM5"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox("Error opening [COM5]!", kError);
  Idle(main);
  ExpectNoBox(1500);
  EXPECT_EQ(Ports(main), (std::vector<std::string>{"COM2", "COM5"}));
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
}

// Found automatically, the reader stays silent: the link closes without a word. Picked by hand,
// the user is asked to try again; a second try with the reader answering connects.
TEST_F(ReaderSearch, NoReplyThenPickedByHand) {
  ASSERT_TRUE(simreader::PlugReader("COM5", {"COM1"}));
  Answer("silent");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ASSERT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", 2000), nullptr);
  ExpectNoBox(2500);
  Idle(main);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Received(), kHandshake);

  PickPort(main, 1);
  ExpectBox(kNoResponse, kRetry);
  Idle(main);
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Received(), kHandshake);

  Answer("version 1.00");
  PickPort(main, 1);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
}

// A reply that comes after the handshake wait counts as none.
TEST_F(ReaderSearch, LateReplyIsNoReply) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  ASSERT_TRUE(simreader::ControlOk("delay 1500"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectNoBox(3000);
  Idle(main);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_TRUE(ui::Enabled(PortList(main)));
}

TEST_F(ReaderSearch, AnotherFirmwareVersion) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  Answer("version 1.01");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  ExpectBox(kNotSupported, kError);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_TRUE(ui::Enabled(PortList(main)));
}

TEST_F(ReaderSearch, OkWithoutVersionLeavesTheLinkOpen) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  Answer("ok");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectNoBox(3000);
  Idle(main);
  EXPECT_EQ(Version(main), "x.xx");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
}

TEST_F(ReaderSearch, UnknownCommand) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  Answer("unknown");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kInvalidCommand, kError);
  Idle(main);
  ExpectNoBox(1000);
  EXPECT_FALSE(ui::Enabled(PortList(main))) << "found automatically, the link stays open";

  // The same answer on a hand-picked port closes the link and asks to try again.
  simreader::RemoveUsbDevices();
  ui::PostCommand(main, 7);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  PickPort(main, 0);
  ExpectBox(kInvalidCommand, kError);
  ExpectBox(kNoResponse, kRetry);
  Idle(main);
  EXPECT_TRUE(ui::Enabled(PortList(main)));
  EXPECT_EQ(Version(main), "x.xx");
}

TEST_F(ReaderSearch, UnrecognisedAnswer) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  Answer("garbage");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kNotRecognized, kError);
  Idle(main);
  EXPECT_FALSE(ui::Enabled(PortList(main)));

  simreader::RemoveUsbDevices();
  ui::PostCommand(main, 7);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  PickPort(main, 0);
  ExpectBox(kNotRecognized, kError);
  ExpectBox(kNoResponse, kRetry);
  Idle(main);
  EXPECT_TRUE(ui::Enabled(PortList(main)));
}

TEST_F(ReaderSearch, SearchButtonSearchesAgain) {
  ASSERT_TRUE(simreader::PlugReader("COM5"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  Received();
  Answer("version 1.00");
  ui::PostCommand(main, 7);
  HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 2000);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(ui::Text(wait), "Search for Tarnel reader");
  EXPECT_EQ(Version(main), "x.xx") << "SEARCH resets the link first";
  ExpectBox(FoundText("COM5"), kSuccess);
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_EQ(Received(), kHandshake);
}

TEST_F(ReaderSearch, PortPickedByHand) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM5", "COM3"}));
  ASSERT_TRUE(simreader::LinkPort("COM5"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectBox(kNotFound, kError);
  ExpectBox(kSelectHint, kHint);
  Idle(main);
  PickPort(main, 1);
  HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 2000);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(ui::Text(wait), "Reading Tarnel settings");
  ExpectBox(kSettingsRead, kSuccess);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_FALSE(ui::Enabled(PortList(main)));
  EXPECT_EQ(SelectedPort(main), 1);
  EXPECT_EQ(Received(), kHandshake);
}

}  // namespace
