// The reader's card replies: which prefix means what, which message and kind each reports, and
// the decoding of a block read from a card back into the values the form shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/replies.h"
#include "protocol/card_commands.h"
#include "base/card_number.h"

namespace {

// An empty reply is passed without a buffer, as a read that brought nothing may pass it.
CardReply Classify(const std::string& reply) {
  return ClassifyCardReply(reply.empty() ? nullptr : reinterpret_cast<const uint8_t*>(reply.data()),
                           reply.size());
}

std::string ReadReply(const ConfigBlock& block) {
  return "\rAT+ms\x01\x02\x03\x04\x05\x06" + std::string(block.bytes, block.bytes + kConfigBlockSize);
}

TEST(CardReplies, PrefixesMessagesAndKinds) {
  struct Case {
    std::string reply;
    CardReplyKind kind;
    CardReplyMessage message;
    int messageKind;
  };
  const Case cases[] = {
      {"\rAT+DAT_OK", kCardReplyDone, kCardMessageOperationSuccessful, 3},
      {"\rAT+DAT_OK and more\r\n", kCardReplyDone, kCardMessageOperationSuccessful, 3},
      {"\rAT+ERR_03", kCardReplyBoardSilent, kCardMessageMainBoardNoResponse, 5},
      {"\rAT+ERR_04\r\n", kCardReplyNoCard, kCardMessageCardNotBrought, 5},
      {"\rAT+ERR_05", kCardReplyFailed, kCardMessageOperationFailed, 5},
      {"\rAT+ERR_06", kCardReplyCardUnsupported, kCardMessageCardTypeUnsupported, 5},
      {"\rAT+ERR_07", kCardReplyNotRecognized, kCardMessageNone, 0},
      {"\rAT+DAT_O", kCardReplyNotRecognized, kCardMessageNone, 0},
      {"x\rAT+DAT_OK", kCardReplyNotRecognized, kCardMessageNone, 0},
      {"", kCardReplyNotRecognized, kCardMessageNone, 0},
  };
  for (const Case& c : cases) {
    CardReply reply = Classify(c.reply);
    EXPECT_EQ(reply.kind, c.kind) << c.reply;
    EXPECT_EQ(reply.message, c.message) << c.reply;
    EXPECT_EQ(reply.messageKind, c.messageKind) << c.reply;
    EXPECT_EQ(reply.setsLastOperationSucceeded, c.kind == kCardReplyDone) << c.reply;
  }
}

TEST(CardReplies, ReadReplyNeedsAValidCrc) {
  CardSnapshot form;
  form.workMode = 1;
  ConfigBlock block = BuildUserWriteBlock(form);
  CardReply good = Classify(ReadReply(block));
  EXPECT_EQ(good.kind, kCardReplyBlockRead);
  EXPECT_EQ(good.message, kCardMessageOperationSuccessful);
  EXPECT_EQ(good.messageKind, 3);
  EXPECT_FALSE(good.setsLastOperationSucceeded);
  // A reply cut short: the missing block bytes count as zeros, which fail the check.
  EXPECT_EQ(Classify(ReadReply(block).substr(0, 20)).kind, kCardReplyNotRecognized);
  block.bytes[15] ^= 1;
  EXPECT_EQ(Classify(ReadReply(block)).kind, kCardReplyNotRecognized);
}

TEST(CardReplies, MasterBlockGivesRadiosWorkModeAndKey) {
  CardSnapshot form;
  form.workMode = 2;
  const std::vector<int> radios = {2, 1, 1, 0};  // Wiegand 44, Inverse, Static, poll On
  std::copy(radios.begin(), radios.end(), form.radio);
  form.sectorNumber = 9;
  form.blockNumber = 2;
  const std::vector<uint8_t> key = {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x02};
  std::copy(key.begin(), key.end(), form.systemKey);

  CardReply reply = Classify(ReadReply(BuildMasterBlock(form)));
  ASSERT_EQ(reply.kind, kCardReplyBlockRead);
  const CardBlockValues& v = reply.block;
  EXPECT_TRUE(v.isMaster);
  EXPECT_EQ(std::vector<int>(v.radio, v.radio + 4), radios);
  EXPECT_EQ(v.workMode, 2);
  EXPECT_EQ(v.sectorNumber, 9);
  EXPECT_EQ(v.blockNumber, 2);
  EXPECT_EQ(std::vector<uint8_t>(v.systemKey, v.systemKey + 6), key);
}

TEST(CardReplies, CodesOutsideTheirListsLeaveControlsAlone) {
  uint8_t block[16] = {'M', 'g', 'f', 'g', 'f', 'x', 3, 1};
  block[15] = Crc8(block, 15);
  CardBlockValues v;
  ASSERT_TRUE(DecodeCardBlock(block, &v));
  EXPECT_EQ(std::vector<int>(v.radio, v.radio + 4), std::vector<int>({-1, -1, -1, -1}));
  EXPECT_EQ(v.workMode, -1);
  EXPECT_EQ(v.sectorNumber, 3);
  EXPECT_EQ(v.blockNumber, 1);
}

// The form keeps the numbers as its up-downs show them, so the next frame sends what is shown.
TEST(CardReplies, SectorAndBlockOutsideTheirRangesAreTakenAtTheNearestBound) {
  const struct {
    uint8_t sector, block;
    int shownSector, shownBlock;
  } cases[] = {{0, 0, 1, 0},  {1, 0, 1, 0},  {15, 2, 15, 2}, {7, 1, 7, 1},
               {16, 3, 15, 2}, {200, 7, 15, 2}, {255, 255, 15, 2}};
  for (const auto& c : cases) {
    uint8_t block[16] = {'U', 0, 0, 0, 0, 'f', c.sector, c.block};
    block[15] = Crc8(block, 15);
    CardBlockValues v;
    ASSERT_TRUE(DecodeCardBlock(block, &v));
    EXPECT_EQ(v.sectorNumber, c.shownSector) << int{c.sector};
    EXPECT_EQ(v.blockNumber, c.shownBlock) << int{c.block};
  }
  // A blank block, as an unwritten card gives it to any key: sixteen zeros pass the CRC check.
  const uint8_t blank[16] = {};
  CardBlockValues v;
  ASSERT_TRUE(DecodeCardBlock(blank, &v));
  EXPECT_FALSE(v.isMaster);
  EXPECT_EQ(v.workMode, -1);
  EXPECT_EQ(v.sectorNumber, 1);
  EXPECT_EQ(v.blockNumber, 0);
}

TEST(CardReplies, UserBlockGivesPlainSectorData) {
  const std::vector<uint8_t> data = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60};
  for (int workMode : {1, 3}) {
    CardSnapshot form;
    form.workMode = workMode;
    std::copy(data.begin(), data.end(), form.sectorData);
    CardReply reply = Classify(ReadReply(BuildUserWriteBlock(form)));
    ASSERT_EQ(reply.kind, kCardReplyBlockRead) << workMode;
    EXPECT_FALSE(reply.block.isMaster);
    EXPECT_EQ(reply.block.workMode, workMode);
    EXPECT_EQ(std::vector<uint8_t>(reply.block.sectorData, reply.block.sectorData + 7), data) << workMode;
  }
}

}  // namespace
