// The serial channel against the simulated reader's pseudo-terminal under Wine: real time-outs,
// whole replies, the one-byte poll, a device that cannot be opened, and COM ports above 9; and the
// simulator's control port, which serves only the holder of its cookie.
#include "link/win/serial_link.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "link/reader_ports.h"
#include "reader_fixture.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char b : bytes) text += {kDigits[b >> 4], kDigits[b & 15]};
  return text;
}

// Whether `done` comes true within a time no loaded machine needs, asked every 10 ms.
template <typename Condition>
bool Soon(Condition done) {
  const ULONGLONG end = GetTickCount64() + 5000;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
  return true;
}

class SerialLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simreader::Clean();
    ASSERT_TRUE(simreader::LinkPort("COM5")) << "the simulated reader is not running";
    ASSERT_TRUE(simreader::ControlOk("answer silent"));
  }
  void TearDown() override {
    CloseLink(link_);
    simreader::Clean();
  }
  bool Open(const char* name) {
    link_.name = name;
    return OpenLink(link_);
  }
  // Bytes from the reader, once they have crossed the line into the open port.
  void Send(const std::string& bytes) {
    ASSERT_TRUE(simreader::ControlOk("send " + Hex(bytes)));
    ASSERT_TRUE(Soon([&] {
      COMSTAT status = {};
      DWORD errors = 0;
      return ClearCommError(link_.handle.Get(), &errors, &status) && status.cbInQue >= bytes.size();
    })) << "the bytes did not arrive";
  }
  SerialLink link_;
};

TEST_F(SerialLinkTest, ReadWithNoByteReturnsAfterAboutSixtyMilliseconds) {
  ASSERT_TRUE(Open("COM5"));
  char buffer[64] = {};
  DWORD error = 0;
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(ReadReply(link_, buffer, 64, &error), 0);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 45u);
  EXPECT_LE(elapsed, 1000u);
  // With nothing waiting, the poll gives up after the same time-out.
  const ULONGLONG pollStart = GetTickCount64();
  char byte = 0;
  EXPECT_EQ(PollByte(link_, &byte, &error), 0);
  EXPECT_GE(GetTickCount64() - pollStart, 45u);
  EXPECT_EQ(error, 0u);
}

TEST_F(SerialLinkTest, ReadsATwentyByteReplyWhole) {
  ASSERT_TRUE(Open("COM5"));
  const std::string reply = "0123456789ABCDEFGHIJ";
  Send(reply);
  char buffer[64] = {};
  DWORD error = 0;
  ASSERT_EQ(ReadReply(link_, buffer, 64, &error), 20);
  EXPECT_EQ(std::string(buffer, 20), reply);
}

// A reply longer than the buffer fills it and the rest is dropped, not left for the next read.
TEST_F(SerialLinkTest, LongReplyIsBoundedByTheBuffer) {
  ASSERT_TRUE(Open("COM5"));
  const std::string reply(100, 'x');
  Send(reply.substr(0, 60) + "TAIL" + reply.substr(64));
  char buffer[65] = {};
  DWORD error = 0;
  ASSERT_EQ(ReadReply(link_, buffer, 64, &error), 64);
  EXPECT_EQ(std::string(buffer + 60, 4), "TAIL");
  EXPECT_EQ(buffer[64], '\0');
  EXPECT_EQ(ReadReply(link_, buffer, 64, &error), 0);
}

TEST_F(SerialLinkTest, PollByteTakesExactlyOneByte) {
  ASSERT_TRUE(Open("COM5"));
  Send("\x11\x22");
  char byte = 0;
  DWORD error = 0;
  EXPECT_EQ(PollByte(link_, &byte, &error), 1);
  EXPECT_EQ(byte, '\x11');
  char buffer[64] = {};
  ASSERT_EQ(ReadReply(link_, buffer, 64, &error), 1);
  EXPECT_EQ(buffer[0], '\x22');
}

TEST_F(SerialLinkTest, WritesTheHandshakeToTheReader) {
  ASSERT_TRUE(Open("COM5"));
  ASSERT_TRUE(simreader::ControlOk("clear"));
  DWORD error = 0;
  EXPECT_TRUE(WriteCommand(link_, "AT+READS_USB", 12, &error));
  EXPECT_TRUE(Soon([] { return simreader::Control("received") == "ok " + Hex("AT+READS_USB"); }))
      << simreader::Control("received");
}

// The reader pulled out while the port is open: every port call fails with the system's code,
// a read too, although under Wine a read of a dead line only times out.
TEST_F(SerialLinkTest, EveryCallFailsOnceTheReaderIsPulledOut) {
  ASSERT_TRUE(Open("COM5"));
  ASSERT_TRUE(simreader::PullReader());
  char buffer[64] = {};
  char byte = 0;
  DWORD error = 0;
  EXPECT_EQ(ReadReply(link_, buffer, 64, &error), kLineFailed);
  EXPECT_NE(error, 0u);
  error = 0;
  EXPECT_EQ(PollByte(link_, &byte, &error), kLineFailed);
  EXPECT_NE(error, 0u);
  error = 0;
  EXPECT_FALSE(WriteCommand(link_, "AT+READS_USB", 12, &error));
  EXPECT_NE(error, 0u);
  // Plugged in again, the reader answers on its new line.
  ASSERT_TRUE(simreader::LinkPort("COM12"));
  ASSERT_TRUE(Open("COM12"));
  Send("OK");
  EXPECT_EQ(ReadReply(link_, buffer, 64, &error), 2);
}

TEST_F(SerialLinkTest, PortsAboveNineOpenThroughTheDevicePath) {
  simreader::UnlinkPort();
  ASSERT_TRUE(simreader::LinkPort("COM12"));
  EXPECT_TRUE(Open("COM12"));
  CloseLink(link_);
  // A port whose device cannot be opened: the open fails and no handle is kept.
  EXPECT_FALSE(Open("COM5")) << "COM5 is no longer linked";
  EXPECT_FALSE(IsOpen(link_));
}

// The cookie is in the simulator's port file, which only this user may read: anyone else on the
// machine who finds the port is sent away unanswered, and nothing he says is run.
TEST(SimulatorControl, ServesOnlyTheHolderOfItsCookie) {
  const char* cookie = std::getenv("KEYLOOM_SIMREADER_COOKIE");
  ASSERT_TRUE(cookie != nullptr && *cookie != '\0') << "wine-run sets KEYLOOM_SIMREADER_COOKIE";
  const std::string own(cookie);
  const struct {
    const char* who;
    std::string presented;
    const char* answer;
  } kClients[] = {
      {"the cookie", own, "ok"},
      {"a control line first", "reset", ""},
      {"an empty line", "", ""},
      {"another cookie", std::string(own.size(), '0'), ""},
      {"half of the cookie", own.substr(0, own.size() / 2), ""},
      {"the cookie and more", own + "0", ""},
  };
  for (const auto& client : kClients) {
    EXPECT_EQ(simreader::ControlPresenting(client.presented, "reset"), client.answer)
        << "a client sending " << client.who;
  }
}

}  // namespace
