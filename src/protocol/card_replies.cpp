// Classifies the reader's final reply to a card command by its prefix, first match deciding,
// and decodes the block of a read reply as the exact reverse of the frame builders' codes.
#include "protocol/card_replies.h"

#include <cstring>

#include "base/card_address.h"
#include "base/card_number.h"
#include "protocol/sector_data_codec.h"

namespace {

constexpr int kMessageKindSuccess = 3;
constexpr int kMessageKindError = 5;

struct ReplyPattern {
  const char* prefix;
  size_t compared;
  CardReplyKind kind;
  CardReplyMessage message;
  int messageKind;
};

const ReplyPattern kReplyPatterns[] = {
    {"\rAT+ms", 6, kCardReplyBlockRead, kCardMessageOperationSuccessful, kMessageKindSuccess},
    {"\rAT+DAT_OK", 10, kCardReplyDone, kCardMessageOperationSuccessful, kMessageKindSuccess},
    {"\rAT+ERR_03", 10, kCardReplyBoardSilent, kCardMessageMainBoardNoResponse, kMessageKindError},
    {"\rAT+ERR_04", 10, kCardReplyNoCard, kCardMessageCardNotBrought, kMessageKindError},
    {"\rAT+ERR_05", 10, kCardReplyFailed, kCardMessageOperationFailed, kMessageKindError},
    {"\rAT+ERR_06", 10, kCardReplyCardUnsupported, kCardMessageCardTypeUnsupported, kMessageKindError},
};

constexpr size_t kReplyBufferSize = 64;

}  // namespace

CardReply ClassifyCardReply(const uint8_t* reply, size_t length) {
  uint8_t buffer[kReplyBufferSize] = {};
  // An empty reply may come without a buffer at all.
  if (length > 0) std::memcpy(buffer, reply, length < kReplyBufferSize ? length : kReplyBufferSize);

  CardReply result;
  for (const ReplyPattern& pattern : kReplyPatterns) {
    if (std::memcmp(buffer, pattern.prefix, pattern.compared) != 0) continue;
    if (pattern.kind == kCardReplyBlockRead &&
        !DecodeCardBlock(buffer + kReadReplyBlockOffset, &result.block)) {
      return result;
    }
    result.kind = pattern.kind;
    result.message = pattern.message;
    result.messageKind = pattern.messageKind;
    result.setsLastOperationSucceeded = pattern.kind == kCardReplyDone;
    return result;
  }
  return result;
}

bool DecodeCardBlock(const uint8_t block[16], CardBlockValues* values) {
  if (Crc8(block, 16) != 0) return false;
  CardBlockValues decoded;
  decoded.isMaster = block[0] == 'M';
  if (decoded.isMaster) {
    for (int group = 0; group < kSettingGroupCount; ++group) {
      decoded.radio[group] = RadioIndexOfCode(block[1 + group], kSettingGroups[group].buttonCount);
    }
    std::memcpy(decoded.systemKey, block + 8, 6);
  }
  decoded.workMode = WorkModeIndexOfCode(block[5]);
  if (!decoded.isMaster) {
    std::memcpy(decoded.sectorData, block + 8, kSectorDataSize);
    if (decoded.workMode >= 0 && kWorkModes[decoded.workMode].encodesData) {
      DecodeSectorData(decoded.sectorData);
    }
  }
  // The up-downs show a number outside their range at its nearest bound; the form keeps what
  // they show, so that the next frame carries what the user sees.
  decoded.sectorNumber = ClampSectorNumber(block[6]);
  decoded.blockNumber = ClampBlockNumber(block[7]);
  *values = decoded;
  return true;
}
