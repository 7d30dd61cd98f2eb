// The reader search and handshake as the user lives through them, one table row per outcome of the
// search at start-up and one per answer to a port picked by hand: the boxes in their order and
// kinds, the port list and the version label afterwards.
#include <iterator>

#include "reader_scenario.h"

namespace {

const std::string kHandshake = "AT+READS_USB";

const Box kFoundCom5{FoundText("COM5"), kMessageSuccess};
const Box kRead{kSettingsRead, kMessageSuccess};

// The prefix as a row finds it: the reader's port, the other ports, and how the reader answers.
enum class Prefix {
  kNothing,           // no serial port at all
  kPortsOnly,         // COM10, COM3, COM1 and no reader
  kReader,            // the reader on COM5 (COM12 and COM2 beside it)
  kFourDigitPort,     // the reader on COM1000
  kLowerCaseName,     // the reader's "PortName" is "com5"
  kDeviceWithoutLink, // the reader's device names COM5, which cannot be opened
};

struct SearchRow {
  const char* name;
  Prefix prefix;
  const char* answer;  // the reader's handshake answer ("answer ..."), or a "delay MS" line
  std::vector<Box> boxes;
  const char* version;
  bool listEnabled;
  std::vector<std::string> ports;  // empty: not looked at
  int selected;                    // -1: not looked at
  bool handshakeSent;
};

const SearchRow kSearchRows[] = {
    {"NoSerialPortAtAll", Prefix::kNothing, nullptr, {{kNoPorts, kMessageWarning}}, "x.xx", true, {""}, -1, false},
    {"PortsButNoReader", Prefix::kPortsOnly, nullptr, kNoReaderBoxes, "x.xx", true, {"COM1", "COM3", "COM10"}, 0,
     false},
    {"ReaderFoundAndConnected", Prefix::kReader, nullptr, {kFoundCom5, kRead}, "1.00", false,
     {"COM2", "COM5", "COM12"}, 1, true},
    {"ReaderOnAFourDigitPort", Prefix::kFourDigitPort, nullptr, {{FoundText("COM1000"), kMessageSuccess}, kRead},
     "1.00", false, {"COM1000"}, 0, true},
    {"ReaderWithALowerCasePortName", Prefix::kLowerCaseName, nullptr, {{FoundText("com5"), kMessageSuccess}, kRead},
     "1.00", false, {"COM2", "COM5"}, 1, true},
    {"ReplyLongerThanTheBuffer", Prefix::kReader, "answer long", {kFoundCom5, kRead}, "1.00", false, {}, -1, true},
    {"PortCannotBeOpened", Prefix::kDeviceWithoutLink, nullptr,
     {kFoundCom5, {"Error opening [COM5]!", kMessageError}}, "x.xx", true, {"COM2", "COM5"}, -1, false},
    // Found automatically, a silent reader or one that answers after the handshake wait: the link
    // closes without a word.
    {"NoReply", Prefix::kReader, "answer silent", {kFoundCom5}, "x.xx", true, {}, -1, true},
    {"LateReplyIsNoReply", Prefix::kReader, "delay 1500", {kFoundCom5}, "x.xx", true, {}, -1, true},
    {"AnotherFirmwareVersion", Prefix::kReader, "answer version 1.01",
     {kFoundCom5, kRead, {kNotSupported, kMessageError}}, "x.xx", true, {}, -1, true},
    // Found automatically, the link stays open whatever the answer.
    {"OkWithoutVersionLeavesTheLinkOpen", Prefix::kReader, "answer ok", {kFoundCom5}, "x.xx", false, {}, -1, true},
    {"UnknownCommand", Prefix::kReader, "answer unknown", {kFoundCom5, {kInvalidCommand, kMessageError}}, "x.xx",
     false, {}, -1, true},
    {"UnrecognisedAnswer", Prefix::kReader, "answer garbage", {kFoundCom5, {kNotRecognized, kMessageError}}, "x.xx",
     false, {}, -1, true},
};

void PrintTo(const SearchRow& row, std::ostream* out) { *out << row.name; }

class ReaderSearch : public ReaderScenario {
 protected:
  void Prepare(Prefix prefix) {
    switch (prefix) {
      case Prefix::kNothing: break;
      case Prefix::kPortsOnly: ASSERT_TRUE(simreader::SetSerialPorts({"COM10", "COM3", "COM1"})); break;
      case Prefix::kReader: ASSERT_TRUE(simreader::PlugReader("COM5", {"COM12", "COM2"})); break;
      case Prefix::kFourDigitPort: ASSERT_TRUE(simreader::PlugReader("COM1000")); break;
      case Prefix::kLowerCaseName:
        ASSERT_TRUE(simreader::LinkPort("COM5"));
        ASSERT_TRUE(simreader::SetSerialPorts({"COM2", "COM5"}));
        ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "com5"));
        break;
      case Prefix::kDeviceWithoutLink:
        ASSERT_TRUE(simreader::SetSerialPorts({"COM5", "COM2"}));
        ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "COM5"));
        break;
    }
  }
};

class SearchOutcome : public ReaderSearch, public ::testing::WithParamInterface<SearchRow> {
 protected:
  // The handshake wait is looked at while it runs: it keeps its real second.
  SearchOutcome() { timings_.handshakeTickMs = kRealTimings.handshakeTickMs; }
};

TEST_P(SearchOutcome, BoxesAndLinkControls) {
  const SearchRow& row = GetParam();
  Prepare(row.prefix);
  if (row.answer != nullptr) {
    ASSERT_TRUE(simreader::ControlOk(row.answer));
  }
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  // The search delay is the first wait; the handshake wait follows the found box.
  ExpectBoxes({row.boxes.front()});
  if (row.handshakeSent) {
    EXPECT_EQ(NextWaitCaption(1), "Reading Tarnel settings");
  }
  ExpectBoxes(std::vector<Box>(row.boxes.begin() + 1, row.boxes.end()));
  Idle(main);
  ExpectNoBox();
  EXPECT_EQ(Version(main), row.version);
  EXPECT_EQ(ui::Enabled(PortList(main)), row.listEnabled);
  if (!row.ports.empty()) {
    EXPECT_EQ(Ports(main), row.ports);
  }
  if (row.selected >= 0) {
    EXPECT_EQ(SelectedPort(main), row.selected);
  }
  EXPECT_EQ(Received(), row.handshakeSent ? kHandshake : "");

  switch (row.prefix) {
    case Prefix::kNothing:
      // The empty entry picked by hand says the same.
      PickPort(main, 0);
      ExpectBox(kNoPorts, kMessageWarning);
      break;
    case Prefix::kLowerCaseName:
      // A later device change finds the port still listed and reopens it without a word.
      WatchPortOpens();
      simreader::DeliverDeviceChange(main);
      EXPECT_TRUE(PortOpenedAgain());
      ExpectNoBox();
      EXPECT_EQ(Version(main), "1.00");
      break;
    default: break;
  }
}

INSTANTIATE_TEST_SUITE_P(ReaderSearch, SearchOutcome, ::testing::ValuesIn(kSearchRows),
                         [](const ::testing::TestParamInfo<SearchRow>& info) { return std::string(info.param.name); });

// A port picked by hand after SEARCH found no reader; the rows run one after another in one
// Keyloom, each leaving the link closed for the next, the last one connected.
struct PickRow {
  const char* name;
  const char* answer;
  std::vector<Box> boxes;
};

const PickRow kPickRows[] = {
    {"Silent", "silent", {{kNoResponse, kMessageRetry}}},
    {"UnknownCommand", "unknown", {{kInvalidCommand, kMessageError}, {kNoResponse, kMessageRetry}}},
    {"UnrecognisedAnswer", "garbage", {{kNotRecognized, kMessageError}, {kNoResponse, kMessageRetry}}},
    {"Connects", "version 1.00", {kRead}},
};

TEST_F(ReaderSearch, PortPickedByHand) {
  HWND main = StartConnected({"COM3"});
  ASSERT_NE(main, nullptr);
  // SEARCH closes the open link first; the reader's device gone, the search finds none.
  simreader::RemoveUsbDevices();
  ui::PostCommand(main, kIdSearch);
  ExpectBoxes(kNoReaderBoxes);
  Idle(main);
  ASSERT_EQ(Ports(main), (std::vector<std::string>{"COM3", "COM5"}));
  Received();
  for (const PickRow& row : kPickRows) {
    SCOPED_TRACE(row.name);
    Answer(row.answer);
    const size_t waits = WaitsOpened();
    PickPort(main, 1);
    EXPECT_EQ(NextWaitCaption(waits), "Reading Tarnel settings");
    ExpectBoxes(row.boxes);
    if (HasFatalFailure()) return;
    Idle(main);
    ExpectNoBox();
    const bool connected = &row == &kPickRows[std::size(kPickRows) - 1];
    EXPECT_EQ(Version(main), connected ? "1.00" : "x.xx");
    EXPECT_EQ(ui::Enabled(PortList(main)), !connected);
    if (connected) {
      EXPECT_EQ(SelectedPort(main), 1);
    }
    EXPECT_EQ(Received(), kHandshake);
  }
}

TEST_F(ReaderSearch, SearchButtonSearchesAgain) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  const size_t waits = WaitsOpened();
  ui::PostCommand(main, kIdSearch);
  EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader");
  EXPECT_EQ(Version(main), "x.xx") << "SEARCH resets the link first";
  ExpectFoundAndRead();
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  EXPECT_EQ(Received(), kHandshake);
}

}  // namespace
