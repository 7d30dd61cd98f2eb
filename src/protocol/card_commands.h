// The card commands: the reader-setting codes that card blocks carry, the 27-byte frames and the
// 16-byte ConfigBlock built from a snapshot of the form, and what a card operation asks of the
// program: a frame to send, new data or the reader search first, or nothing.
#pragma once

#include <cstdint>

// The four radio groups of the reader settings, in block order (block bytes 1 to 4).
enum SettingGroupIndex : int {
  kGroupOutputInterface = 0,
  kGroupIndication = 1,
  kGroupStandby = 2,
  kGroupTouchPoll = 3,
  kSettingGroupCount = 4,
};

struct SettingGroup {
  int buttonCount;  // the codes a block byte of the group may carry, one radio button each
};
// The n-th button of a group (0-based) stands for the code 'd' + n.
extern const SettingGroup kSettingGroups[kSettingGroupCount];

struct WorkModeCode {
  uint8_t code;
  bool carriesData;  // a user write puts the sector data into the block
  bool encodesData;  // ... passed through EncodeSectorData
};
constexpr int kWorkModeCount = 4;
// By work-mode list index: the codes are not in list order.
extern const WorkModeCode kWorkModes[kWorkModeCount];

constexpr uint8_t kFirstSettingCode = 'd';

enum CardType : int { kCardMaster = 0, kCardUser = 1 };

// The form as a card command sees it. Indexes are -1 when nothing is selected or checked.
struct CardSnapshot {
  int cardType = -1;                          // kCardMaster, kCardUser
  int workMode = -1;                          // work-mode list index 0..3
  int radio[kSettingGroupCount] = {-1, -1, -1, -1};  // checked button within each group
  bool generateBeforeWrite = false;           // "Generate unique data before write"
  int32_t sectorNumber = 1;
  int32_t blockNumber = 0;
  uint8_t systemKey[6] = {};
  uint8_t sectorData[7] = {};
};

// The code of a radio group: its first checked button, or the group's first code when none is.
uint8_t RadioGroupCode(int checkedIndex);
// The button index of a code within a group of `buttonCount`, or -1 when the code is not in it.
int RadioIndexOfCode(uint8_t code, int buttonCount);
// The work-mode list index of a code, or -1.
int WorkModeIndexOfCode(uint8_t code);

// The fixed transform of the sector data in the work mode "Send sector data after logged in and
// decrypt": what a user write stores on the card (out[i] = ~(data[i] ^ mask[i])), and its inverse
// for the read-back, in place.
constexpr int kSectorDataSize = 7;
extern const uint8_t kSectorDataMask[kSectorDataSize];
void EncodeSectorData(const uint8_t data[kSectorDataSize], uint8_t out[kSectorDataSize]);
void DecodeSectorData(uint8_t data[kSectorDataSize]);

constexpr int kConfigBlockSize = 16;
constexpr int kCommandFrameSize = 27;
constexpr int kFrameKeyOffset = 5;
constexpr int kFrameBlockOffset = 11;

struct ConfigBlock {
  uint8_t bytes[kConfigBlockSize];
};
struct CommandFrame {
  uint8_t bytes[kCommandFrameSize];
};

// The blocks; byte 15 is the CRC-8 of bytes 0 to 14.
ConfigBlock BuildMasterBlock(const CardSnapshot& form);
ConfigBlock BuildUserWriteBlock(const CardSnapshot& form);
ConfigBlock BuildUserAddressBlock(const CardSnapshot& form);  // for user read and clear

// The frames: "AT+", the card letter, the operation letter, the key (user cards) and the block.
CommandFrame BuildMasterWrite(const CardSnapshot& form);
CommandFrame BuildMasterRead(const CardSnapshot& form);
CommandFrame BuildMasterClear(const CardSnapshot& form);
CommandFrame BuildUserWrite(const CardSnapshot& form);
CommandFrame BuildUserRead(const CardSnapshot& form);
CommandFrame BuildUserClear(const CardSnapshot& form);

// Whether a user write must first generate new unique sector data: a data-carrying work mode
// with "Generate unique data before write" checked.
bool UserWriteGeneratesData(const CardSnapshot& form);

enum CardOperation : int { kCardWrite, kCardRead, kCardClear };

// What a card operation asks of the program, decided in this order: with no port open the reader
// search; with no card type chosen nothing; a user write that generates its data first asks for
// it; while a wait runs nothing (a frame whose reply no wait would read is never sent); else the frame.
enum CardRequestKind : int {
  kCardRequestNothing,
  kCardRequestSearch,
  kCardRequestGenerate,  // new unique sector data onto the form, then ask again with dataGenerated
  kCardRequestSend,
};

struct CardRequest {
  CardRequestKind kind = kCardRequestNothing;
  CommandFrame frame = {};
};

CardRequest RequestCard(CardOperation operation, const CardSnapshot& form, bool portOpen, bool waitRunning,
                        bool dataGenerated);
