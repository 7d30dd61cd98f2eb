// The 27-byte card commands and the 16-byte ConfigBlock they carry, built from a snapshot of
// the form: master and user cards, each written, read or cleared.
#pragma once

#include <cstdint>

#include "protocol/card_settings.h"

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

// The frames: "AT+", the operation code, the key (user cards) and the block.
CommandFrame BuildMasterWrite(const CardSnapshot& form);
CommandFrame BuildMasterRead(const CardSnapshot& form);
CommandFrame BuildMasterClear(const CardSnapshot& form);
CommandFrame BuildUserWrite(const CardSnapshot& form);
CommandFrame BuildUserRead(const CardSnapshot& form);
CommandFrame BuildUserClear(const CardSnapshot& form);

// Whether a user write must first generate new unique sector data: a data-carrying work mode
// with "Generate unique data before write" checked.
bool UserWriteGeneratesData(const CardSnapshot& form);
