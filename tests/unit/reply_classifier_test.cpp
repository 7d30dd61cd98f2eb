// The reply classifier on the edge cases of the reader's replies: where each marker is found,
// which one decides, what is moved to the start of the buffer, and which version is accepted.
#include "protocol/replies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ReplyCase {
  const char* name;
  std::string reply;
  ReplyCode code;
  std::string bufferStart;  // what the buffer begins with afterwards
};

const ReplyCase kReplyCases[] = {
    {"handshake", "AT+READS_USB - OK! >> 1.00", kReplyHandshake, "1.00"},
    {"leading text", "Tarnel desk reader AT+READS_USB - OK! >> 1.00", kReplyHandshake, "1.00"},
    {"ends after version marker", "X - OK! >> ", kReplyHandshake, "X - OK! >> "},
    {"five-character version", " - OK! >> 1.001", kReplyHandshake, "1.001"},
    {"CR LF after version", " - OK! >> 1.00\r\n", kReplyHandshake, "1.00\r\n >> 1.00\r\n"},
    {"OK alone", "AT+READS_USB - OK!", kReplyAcknowledged, "AT+READS_USB - OK!"},
    {"OK then text", " - OK! and more", kReplyAcknowledged, " - OK! and more"},
    {"OK cut short", " - OK", kReplyNothing, " - OK"},
    {"unknown command", "AT+XYZ - UNKNOWN CMD!", kReplyUnknownCommand, "AT+XYZ - UNKNOWN CMD!"},
    {"unknown without !", "AT+XYZ - UNKNOWN CMD", kReplyNothing, "AT+XYZ - UNKNOWN CMD"},
    {"two OK markers", " - OK! - OK! >> 1.00", kReplyAcknowledged, " - OK! - OK! >> 1.00"},
    {"OK before unknown", " - OK! >> 2.00 - UNKNOWN CMD!", kReplyHandshake, "2.00 - UNKNOWN CMD!"},
    {"second hyphen, OK inside", " - - OK! >> 1.00", kReplyNothing, " - - OK! >> 1.00"},
    {"second hyphen, OK after", " - - - OK! >> 1.00", kReplyHandshake, "1.00"},
    {"U then OK", " - U - OK! >> 1.00", kReplyNothing, " - U - OK! >> 1.00"},
    {"O then OK", " - O - OK! >> 1.00", kReplyNothing, " - O - OK! >> 1.00"},
    {"O then OK later", " - O  - OK! >> 1.00", kReplyHandshake, "1.00"},
    {"lead at the very end", "abc - ", kReplyNothing, "abc - "},
    {"card reply", "\rAT+DAT_OK", kReplyNothing, "\rAT+DAT_OK"},
    {"garbage", "\x01\xff zz", kReplyNothing, "\x01\xff zz"},
    {"empty", "", kReplyNothing, ""},
};

TEST(ClassifyReply, EveryEdgeCase) {
  for (const ReplyCase& c : kReplyCases) {
    char buffer[64] = {};
    std::memcpy(buffer, c.reply.data(), c.reply.size());
    EXPECT_EQ(ClassifyReply(buffer, static_cast<int>(c.reply.size())), c.code) << c.name;
    EXPECT_EQ(std::string(buffer, c.bufferStart.size()), c.bufferStart) << c.name;
  }
}

TEST(ClassifyReply, NonPositiveLengthFindsNothing) {
  char buffer[64] = " - OK! >> 1.00";
  EXPECT_EQ(ClassifyReply(buffer, 0), kReplyNothing);
  EXPECT_EQ(ClassifyReply(buffer, -5), kReplyNothing);
}

// The OK marker in the last bytes of a full buffer: nothing past the buffer is looked at.
TEST(ClassifyReply, MarkerAtTheEndOfAFullBuffer) {
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  std::memcpy(buffer + 58, " - OK!", 6);
  EXPECT_EQ(ClassifyReply(buffer, 64), kReplyAcknowledged);
}

// Only the received length counts: a marker in stale bytes past it is not seen.
TEST(ClassifyReply, BytesPastTheLengthAreNotExamined) {
  char buffer[64] = " - OK! >> 1.00";
  EXPECT_EQ(ClassifyReply(buffer, 6), kReplyAcknowledged);
  EXPECT_EQ(ClassifyReply(buffer, 14), kReplyHandshake);
}

TEST(IsSupportedFirmware, ComparesTheFirstFourCharacters) {
  const struct {
    const char* text;
    bool supported;
  } cases[] = {
      {"1.00", true}, {"1.001", true}, {"1.00\r\n", true}, {"1.01", false}, {"1.0", false},
      {"", false},    {"2.00", false}, {"1,00", false},    {" 1.00", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSupportedFirmware(c.text), c.supported) << c.text;
}

}  // namespace
