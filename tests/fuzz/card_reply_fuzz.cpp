// The card reply classifier and the block decoder: the first matching reply prefix decides, a
// block is accepted only with its CRC, and what is decoded from it writes the same block again.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "protocol/replies.h"
#include "protocol/card_commands.h"
#include "base/card_number.h"

namespace {

constexpr size_t kReplyBuffer = 64;

struct Prefix {
  const char* text;
  size_t length;
  CardReplyKind kind;
};
const Prefix kPrefixes[] = {
    {"\rAT+ms", 6, kCardReplyBlockRead},      {"\rAT+DAT_OK", 10, kCardReplyDone},
    {"\rAT+ERR_03", 10, kCardReplyBoardSilent}, {"\rAT+ERR_04", 10, kCardReplyNoCard},
    {"\rAT+ERR_05", 10, kCardReplyFailed},    {"\rAT+ERR_06", 10, kCardReplyCardUnsupported},
};

// A block the program itself writes: every code one of its group, sector 1..15, block 0..2,
// and zeros where the card type carries nothing.
bool IsCanonical(const uint8_t* b) {
  const int mode = WorkModeIndexOfCode(b[5]);
  if (mode < 0 || b[6] < 1 || b[6] > 15 || b[7] > 2) return false;
  if (b[0] == 'M') {
    for (int g = 0; g < kSettingGroupCount; ++g) {
      if (RadioIndexOfCode(b[1 + g], kSettingGroups[g].buttonCount) < 0) return false;
    }
    return b[14] == 0;
  }
  if (b[0] != 'U' || b[1] || b[2] || b[3] || b[4]) return false;
  if (kWorkModes[mode].carriesData) return true;
  for (int i = 8; i < 15; ++i) {
    if (b[i]) return false;
  }
  return true;
}

// The block the program writes from the values the form took back.
ConfigBlock Reencode(const CardBlockValues& v) {
  CardSnapshot form;
  form.cardType = v.isMaster ? 0 : 1;
  form.workMode = v.workMode;
  for (int g = 0; g < kSettingGroupCount; ++g) form.radio[g] = v.radio[g];
  form.sectorNumber = v.sectorNumber;
  form.blockNumber = v.blockNumber;
  std::memcpy(form.systemKey, v.systemKey, sizeof form.systemKey);
  std::memcpy(form.sectorData, v.sectorData, sizeof form.sectorData);
  return v.isMaster ? BuildMasterBlock(form) : BuildUserWriteBlock(form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the received bytes, so a read past them is caught.
  std::vector<uint8_t> reply(data, data + size);
  const CardReply result = ClassifyCardReply(reply.data(), reply.size());

  uint8_t padded[kReplyBuffer] = {};
  std::memcpy(padded, data, size < kReplyBuffer ? size : kReplyBuffer);
  const Prefix* first = nullptr;
  for (const Prefix& p : kPrefixes) {
    if (std::memcmp(padded, p.text, p.length) == 0) {
      first = &p;
      break;
    }
  }
  const uint8_t* block = padded + kReadReplyBlockOffset;
  const bool blockAccepted = first && first->kind == kCardReplyBlockRead && Crc8(block, 16) == 0;
  const CardReplyKind expected =
      !first || (first->kind == kCardReplyBlockRead && !blockAccepted) ? kCardReplyNotRecognized : first->kind;
  FUZZ_CHECK(result.kind == expected);
  FUZZ_CHECK((result.message != kCardMessageNone) == (expected != kCardReplyNotRecognized));
  FUZZ_CHECK(result.setsLastOperationSucceeded == (expected == kCardReplyDone));
  if (result.kind != kCardReplyBlockRead) return 0;

  const CardBlockValues& v = result.block;
  FUZZ_CHECK(v.isMaster == (block[0] == 'M'));
  FUZZ_CHECK(v.sectorNumber >= 1 && v.sectorNumber <= 15 && v.blockNumber >= 0 && v.blockNumber <= 2);
  FUZZ_CHECK(v.workMode >= -1 && v.workMode < kWorkModeCount);

  const ConfigBlock again = Reencode(v);
  FUZZ_CHECK(Crc8(again.bytes, 16) == 0);
  if (IsCanonical(block)) FUZZ_CHECK(std::memcmp(again.bytes, block, 16) == 0);
  // Whatever the block, the values the form takes back are written where they were read.
  CardBlockValues reread;
  FUZZ_CHECK(DecodeCardBlock(again.bytes, &reread));
  FUZZ_CHECK(reread.isMaster == v.isMaster && reread.sectorNumber == v.sectorNumber &&
             reread.blockNumber == v.blockNumber);
  if (v.workMode >= 0) FUZZ_CHECK(reread.workMode == v.workMode);
  if (v.isMaster) {
    for (int g = 0; g < kSettingGroupCount; ++g) {
      if (v.radio[g] >= 0) FUZZ_CHECK(reread.radio[g] == v.radio[g]);
    }
    FUZZ_CHECK(std::memcmp(reread.systemKey, v.systemKey, 6) == 0);
  } else if (v.workMode >= 0 && kWorkModes[v.workMode].carriesData) {
    FUZZ_CHECK(std::memcmp(reread.sectorData, v.sectorData, 7) == 0);
  }
  return 0;
}
