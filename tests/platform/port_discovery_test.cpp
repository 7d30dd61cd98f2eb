// The system's ports from the registry and the reader's port from the device set-up information,
// against the values and USB devices the fixture writes into the Wine prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/win/system_ports.h"
#include "reader_fixture.h"

namespace {

class PortDiscovery : public ::testing::Test {
 protected:
  void SetUp() override { simreader::Clean(); }
  void TearDown() override { simreader::Clean(); }
};

TEST_F(PortDiscovery, ListIsSortedByNumberWithTheFirstSelected) {
  ASSERT_TRUE(simreader::SetSerialPorts({"COM10", "COM3", "COM1", "COM3"}));
  std::vector<std::string> ports;
  ASSERT_TRUE(ListSystemPorts(&ports));
  EXPECT_EQ(ports, (std::vector<std::string>{"COM10", "COM3", "COM1", "COM3"}));
  EXPECT_EQ(SortedPortNames(ports), (std::vector<std::string>{"COM1", "COM3", "COM3", "COM10"}));
  // Windows port names ignore letter case.
  EXPECT_TRUE(IsPortPresent("COM3"));
  EXPECT_TRUE(IsPortPresent("com3"));
  EXPECT_FALSE(IsPortPresent("COM4"));
}

TEST_F(PortDiscovery, SixtyPortsKeepTheFiftyReadFirst) {
  std::vector<std::string> ports;
  for (int n = 1; n <= 60; ++n) ports.push_back("COM" + std::to_string(n));
  ASSERT_TRUE(simreader::SetSerialPorts(ports));
  std::vector<std::string> listed;
  ASSERT_TRUE(ListSystemPorts(&listed));
  EXPECT_EQ(listed.size(), 60u);
  EXPECT_EQ(SortedPortNames(listed).size(), 50u);
}

TEST_F(PortDiscovery, NoPortIsListed) {
  std::vector<std::string> ports = {"left over"};
  EXPECT_FALSE(ListSystemPorts(&ports));
  EXPECT_TRUE(ports.empty());
  ASSERT_TRUE(simreader::SetSerialPorts({}));
  EXPECT_FALSE(ListSystemPorts(&ports));
}

TEST_F(PortDiscovery, FindsTheReadersPortByItsHardwareId) {
  const struct {
    const char* name;
    const char* hardwareId;
    const char* portName;
    bool found;
  } cases[] = {
      {"plain id", "USB\\VID_2E3C&PID_5750&REV_0200", "COM5", true},
      {"interface suffix", "USB\\VID_2E3C&PID_5750&REV_0200&MI_00", "COM7", true},
      {"lower form", "USB\\Vid_2e3c&Pid_5750&Rev_0200", "COM8", true},
      {"four-digit port", "USB\\VID_2E3C&PID_5750&REV_0200", "COM1000", true},
      {"mixed case", "USB\\VID_2e3c&PID_5750&REV_0200", "COM7", false},
      {"other revision", "USB\\VID_2E3C&PID_5750&REV_0201", "COM7", false},
      {"COM0", "USB\\VID_2E3C&PID_5750&REV_0200", "COM0", false},
      {"not a COM port", "USB\\VID_2E3C&PID_5750&REV_0200", "LPT1", false},
      {"lower-case port name", "USB\\VID_2E3C&PID_5750&REV_0200", "com7", true},
  };
  for (const auto& c : cases) {
    simreader::RemoveUsbDevices();
    ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", c.hardwareId, c.portName)) << c.name;
    std::string port = "unchanged";
    EXPECT_EQ(FindReaderPort(&port, kTarnelIdentity), c.found) << c.name;
    EXPECT_EQ(port, c.found ? c.portName : "unchanged") << c.name;
  }
}

TEST_F(PortDiscovery, TheLastMatchingDeviceGivesThePort) {
  ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "COM4"));
  ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim2", simreader::kReaderHardwareId, "COM9"));
  std::string port;
  ASSERT_TRUE(FindReaderPort(&port, kTarnelIdentity));
  EXPECT_EQ(port, "COM9");
  simreader::RemoveUsbDevices();
  EXPECT_FALSE(FindReaderPort(&port, kTarnelIdentity));
}

// A device whose hardware key cannot be opened is passed over; the reader after it is still found.
TEST_F(PortDiscovery, ADeviceWithoutAHardwareKeyDoesNotHideTheReader) {
  ASSERT_TRUE(simreader::AddUsbDeviceWithoutHardwareKey("KeyloomSim0", "USB\\VID_1234&PID_0001&REV_0100"));
  ASSERT_TRUE(simreader::AddUsbDevice("KeyloomSim1", simreader::kReaderHardwareId, "COM6"));
  std::string port;
  EXPECT_TRUE(FindReaderPort(&port, kTarnelIdentity));
  EXPECT_EQ(port, "COM6");
}

}  // namespace
