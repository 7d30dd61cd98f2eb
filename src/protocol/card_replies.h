// The reader's answers to a card command: which reply it is, what it reports and with which kind
// of message, and the card block of a read reply decoded into the values the form shows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/card_settings.h"

enum CardReplyKind : int {
  kCardReplyNotRecognized = 0,
  kCardReplyBlockRead,      // "\rAT+ms" with a block whose CRC checks
  kCardReplyDone,           // "\rAT+DAT_OK": a write or clear succeeded
  kCardReplyBoardSilent,    // "\rAT+ERR_03"
  kCardReplyNoCard,         // "\rAT+ERR_04"
  kCardReplyFailed,         // "\rAT+ERR_05"
  kCardReplyCardUnsupported,  // "\rAT+ERR_06"
};

// The message a reply gives the user; the shell shows it in the active language.
enum CardReplyMessage : int {
  kCardMessageNone = 0,
  kCardMessageOperationSuccessful,
  kCardMessageMainBoardNoResponse,
  kCardMessageCardNotBrought,
  kCardMessageOperationFailed,
  kCardMessageCardTypeUnsupported,
};

// A card block as the form takes it back. Indexes of -1 leave their control as it was.
struct CardBlockValues {
  bool isMaster = false;                            // block byte 0 is M
  int radio[kSettingGroupCount] = {-1, -1, -1, -1};   // master cards only
  int workMode = -1;                                // work-mode list index
  int32_t sectorNumber = 1;  // as the up-downs show it: kept in 1..15
  int32_t blockNumber = 0;   // kept in 0..2
  uint8_t systemKey[6] = {};   // master cards
  uint8_t sectorData[7] = {};  // user cards, already decoded in the encrypted mode
};

struct CardReply {
  CardReplyKind kind = kCardReplyNotRecognized;
  // The message to show and its kind (3 success, 5 error).
  CardReplyMessage message = kCardMessageNone;
  int messageKind = 0;
  // The success of a write or clear: sets LastOperationSucceeded, and in a cyclic run pauses
  // for a second instead of showing its message.
  bool setsLastOperationSucceeded = false;
  CardBlockValues block;  // for kCardReplyBlockRead
};

constexpr int kReadReplyBlockOffset = 12;

// `reply` holds `length` received bytes; anything beyond them counts as the zeros of the
// reply buffer.
CardReply ClassifyCardReply(const uint8_t* reply, size_t length);
// False when byte 15 is not the CRC-8 of bytes 0 to 14; `values` is then left alone. A sector or
// block number outside its range (a blank block carries sector 0) is taken at its nearest bound.
bool DecodeCardBlock(const uint8_t block[16], CardBlockValues* values);
