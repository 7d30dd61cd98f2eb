// The reader's replies judged: markers scanned in the reader's own order (a failed partial match
// resumes just after the character that broke it), plans by table-like rules, card replies by their
// prefix with the first match deciding, blocks decoded as the exact reverse of the frame builders'.
#include "protocol/replies.h"

#include <cstring>

#include "base/card_address.h"
#include "base/card_number.h"

namespace {

constexpr char kMarkerLead[] = " - ";
constexpr char kOkRest[] = "OK!";
constexpr char kUnknownRest[] = "UNKNOWN CMD!";
constexpr char kVersionMarker[] = " >> ";
constexpr int kLeadLength = 3;
constexpr int kVersionMarkerLength = 4;

// How many characters of the word match at position, stopping at the reply's end.
int MatchLength(const char* buffer, int length, int position, const char* word) {
  int matched = 0;
  while (word[matched] != '\0' && position + matched < length && buffer[position + matched] == word[matched]) {
    ++matched;
  }
  return matched;
}

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

// A card reply is judged by its first 64 bytes at most: a read reply's block ends well before.
constexpr size_t kCardReplyCompared = 64;

constexpr char kOkMarker[] = " - OK!";
constexpr char kCardReplyStart[] = "\rAT+";
// A final reply comes behind one leading byte.
constexpr int kLeadBytes = 1;

// Where the text starts at or after `from`, or -1.
int Find(const char* bytes, int length, int from, const char* text) {
  const int textLength = static_cast<int>(std::strlen(text));
  for (int i = from; i + textLength <= length; ++i) {
    if (std::memcmp(bytes + i, text, static_cast<size_t>(textLength)) == 0) return i;
  }
  return -1;
}

void Append(CardWait& wait, const char* bytes, int length) {
  for (int i = 0; i < length && wait.length < kReplyBufferSize; ++i) wait.reply[wait.length++] = bytes[i];
}

CardRead EndWith(CardWait& wait, CardWaitTickEnd end, char* final, int finalLength) {
  wait.end = end;
  wait.final = final;
  wait.finalLength = finalLength;
  return kCardReadDone;
}

// The first tick's read holds what came since the frame went out: the acknowledgement, and the final
// reply too when the reader was quick. A final reply that came without an acknowledgement (behind at
// most its leading byte) is the card's outcome all the same: it ends the wait as the poll would have.
CardRead TakeFirstRead(CardWait& wait, const char* bytes, int length) {
  if (length == kLineFailed) return EndWith(wait, kCardWaitCutShort, wait.first, kLineFailed);
  std::memcpy(wait.first, bytes, static_cast<size_t>(length));
  const int ok = Find(wait.first, length, 0, kOkMarker);
  if (ok < 0) {
    const int start = Find(wait.first, length, 0, kCardReplyStart);
    if (start >= 0 && start <= kLeadBytes) return EndWith(wait, kCardWaitEnded, wait.first + start, length - start);
  }
  const int finalAt =
      ok < 0 ? -1 : Find(wait.first, length, ok + static_cast<int>(sizeof kOkMarker) - 1, kCardReplyStart);
  wait.acknowledgement = wait.first;
  wait.acknowledgementLength = finalAt < 0 ? length : finalAt;
  if (finalAt >= 0) return EndWith(wait, kCardWaitEnded, wait.first + finalAt, length - finalAt);
  return kCardReadDone;
}

// The bytes behind the byte the poll found, or at the last tick all that is there. They are kept
// until they hold the reply's start or are more than a leading byte that came alone; a reply without
// that start is judged as it came and not recognised.
CardRead TakeLaterRead(CardWait& wait, const char* bytes, int length) {
  if (length == kLineFailed) return EndWith(wait, kCardWaitCutShort, wait.reply, kLineFailed);
  Append(wait, bytes, length);
  const int start = Find(wait.reply, wait.length, 0, kCardReplyStart);
  if (start >= 0) return EndWith(wait, kCardWaitEnded, wait.reply + start, wait.length - start);
  if (wait.tick < kCardWaitLastTick && wait.length <= kLeadBytes) return kCardReadDone;
  return EndWith(wait, kCardWaitEnded, wait.reply, wait.length);
}

}  // namespace

ReplyCode ClassifyReply(char* buffer, int length) {
  int i = 0;
  while (i < length) {
    if (MatchLength(buffer, length, i, kMarkerLead) != kLeadLength) {
      ++i;
      continue;
    }
    const int decisive = i + kLeadLength;
    if (decisive >= length) {
      i += 4;
      continue;
    }
    const char* rest = buffer[decisive] == 'O' ? kOkRest : buffer[decisive] == 'U' ? kUnknownRest : nullptr;
    if (rest == nullptr) {
      i += 4;
      continue;
    }
    const int restLength = static_cast<int>(std::strlen(rest));
    const int matched = MatchLength(buffer, length, decisive, rest);
    if (matched < restLength) {
      i = decisive + matched + 1;
      continue;
    }
    if (rest == kUnknownRest) return kReplyUnknownCommand;
    // Past the received length the zero-filled buffer can hold no marker, so nothing beyond it is read.
    const int versionAt = decisive + restLength;
    if (MatchLength(buffer, length, versionAt, kVersionMarker) != kVersionMarkerLength) return kReplyAcknowledged;
    const int textAt = versionAt + kVersionMarkerLength;
    if (length > textAt) std::memmove(buffer, buffer + textAt, static_cast<size_t>(length - textAt));
    return kReplyHandshake;
  }
  return kReplyNothing;
}

bool IsSupportedFirmware(const char* text) {
  return std::strncmp(text, kSupportedFirmware, 4) == 0;
}

ReplyPlan PlanReplyReport(int length, ReplyCode code, bool portChosenByHand, bool portGone) {
  if (length <= 0 && portGone) return {kReplyNothing, {kReplyStepReportConnectionBroken}};
  if (length == kLineFailed) {
    if (portChosenByHand) {
      return {kReplyNothing, {kReplyStepReportReadError, kReplyStepReportNoResponse, kReplyStepEnablePortList,
                              kReplyStepResetLink}};
    }
    return {kReplyNothing, {kReplyStepReportReadError, kReplyStepResetLink}};
  }
  if (length == 0) {
    if (portChosenByHand) {
      return {kReplyNothing, {kReplyStepReportNoResponse, kReplyStepEnablePortList, kReplyStepResetLink}};
    }
    return {kReplyNothing, {kReplyStepResetLink}};
  }
  switch (code) {
    case kReplyHandshake:
      return {code, {kReplyStepReportSettingsRead, kReplyStepCheckFirmware}};
    case kReplyAcknowledged:
      return {code, {}};
    case kReplyUnknownCommand:
      if (portChosenByHand) {
        return {code, {kReplyStepReportInvalidCommand, kReplyStepResetLink, kReplyStepReportNoResponse,
                       kReplyStepEnablePortList}};
      }
      return {code, {kReplyStepReportInvalidCommand}};
    case kReplyNothing:
      break;
  }
  if (portChosenByHand) {
    return {code, {kReplyStepReportNotRecognized, kReplyStepResetLink,
                   kReplyStepReportNoResponse, kReplyStepEnablePortList}};
  }
  return {code, {kReplyStepReportNotRecognized}};
}

CardReply ClassifyCardReply(const uint8_t* reply, size_t length) {
  uint8_t buffer[kCardReplyCompared] = {};
  // An empty reply may come without a buffer at all.
  if (length > 0) std::memcpy(buffer, reply, length < kCardReplyCompared ? length : kCardReplyCompared);

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

ReplyVerdict JudgeReply(char* bytes, int length) {
  ReplyVerdict verdict = {length <= 0 ? kReplyNothing : ClassifyReply(bytes, length), {}};
  if (length > 0 && verdict.code == kReplyNothing) {
    verdict.card = ClassifyCardReply(reinterpret_cast<const uint8_t*>(bytes), static_cast<size_t>(length));
  }
  return verdict;
}

CardRead StartCardTick(CardWait& wait, int tick) {
  if (tick <= 1) wait = CardWait{};
  wait.tick = tick;
  wait.end = kCardWaitGoesOn;
  wait.acknowledgement = nullptr;
  wait.final = nullptr;
  wait.reading = tick <= 1 || tick >= kCardWaitLastTick ? kCardReadReply : kCardPollByte;
  return wait.reading;
}

CardRead TakeCardRead(CardWait& wait, const char* bytes, int length) {
  const CardRead read = wait.reading;
  wait.reading = kCardReadDone;
  if (read == kCardReadReply && wait.tick <= 1) return TakeFirstRead(wait, bytes, length);
  if (read == kCardPollByte) {
    if (length == kLineFailed) return EndWith(wait, kCardWaitCutShort, wait.reply, kLineFailed);
    if (length == 0) return kCardReadDone;
    Append(wait, bytes, 1);
    wait.reading = kCardReadReply;
    return wait.reading;
  }
  return TakeLaterRead(wait, bytes, length);
}
