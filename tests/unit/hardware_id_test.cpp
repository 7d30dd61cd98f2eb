// The reader's USB identity: the two spellings of its hardware id, which ids match them,
// and which "PortName" values name a usable port.
#include "link/reader_ports.h"

#include <gtest/gtest.h>

namespace {

TEST(HardwareId, BuildsBothThirtyCharacterForms) {
  EXPECT_EQ(UpperHardwareId(kTarnelIdentity), "USB\\VID_2E3C&PID_5750&REV_0200");
  EXPECT_EQ(LowerHardwareId(kTarnelIdentity), "USB\\Vid_2e3c&Pid_5750&Rev_0200");
  EXPECT_EQ(UpperHardwareId(kTarnelIdentity).size(), 30u);
  EXPECT_EQ(LowerHardwareId(kTarnelIdentity).size(), 30u);
}

TEST(HardwareId, MatchesOnlyTheTwoSpellingsAsAPrefix) {
  const struct {
    const char* id;
    bool matches;
  } cases[] = {
      {"USB\\VID_2E3C&PID_5750&REV_0200", true},
      {"USB\\VID_2E3C&PID_5750&REV_0200&MI_00", true},
      {"USB\\Vid_2e3c&Pid_5750&Rev_0200", true},
      {"USB\\VID_2e3c&PID_5750&REV_0200", false},
      {"usb\\vid_2e3c&pid_5750&rev_0200", false},
      {"USB\\VID_2E3C&PID_5750&REV_0201", false},
      {"USB\\VID_2E3C&PID_5750", false},
      {"USB\\VID_2E3C&PID_5751&REV_0200", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesReaderHardwareId(c.id, kTarnelIdentity), c.matches) << c.id;
}

TEST(HardwareId, UsablePortNames) {
  const struct {
    const char* name;
    bool usable;
  } cases[] = {
      {"COM7", true}, {"com7", true},  {"CoM12", true}, {"COM1000", true}, {"COM0", false},
      {"COM", false}, {"LPT1", false}, {"COMx", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUsablePortName(c.name), c.usable) << c.name;
}

}  // namespace
