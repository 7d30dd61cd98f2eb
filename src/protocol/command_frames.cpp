// Builds every card command from zero, so no byte of an earlier frame survives into a later one.
// Nothing is validated here: only the low byte of the sector and block numbers is sent.
#include "protocol/command_frames.h"

#include <cstring>

#include "base/card_number.h"
#include "protocol/sector_data_codec.h"

namespace {

const WorkModeCode* SelectedWorkMode(const CardSnapshot& form) {
  return (form.workMode >= 0 && form.workMode < kWorkModeCount) ? &kWorkModes[form.workMode]
                                                                : nullptr;
}

ConfigBlock AddressBlock(uint8_t cardLetter, const CardSnapshot& form) {
  ConfigBlock block = {};
  block.bytes[0] = cardLetter;
  block.bytes[6] = static_cast<uint8_t>(form.sectorNumber);
  block.bytes[7] = static_cast<uint8_t>(form.blockNumber);
  return block;
}

void SealBlock(ConfigBlock& block) {
  block.bytes[15] = Crc8(block.bytes, 15);
}

CommandFrame Frame(uint8_t cardLetter, uint8_t operation, const uint8_t* key,
                   const ConfigBlock* block) {
  CommandFrame frame = {};
  std::memcpy(frame.bytes, "AT+", 3);
  frame.bytes[3] = cardLetter;
  frame.bytes[4] = operation;
  if (key) std::memcpy(frame.bytes + kFrameKeyOffset, key, 6);
  if (block) std::memcpy(frame.bytes + kFrameBlockOffset, block->bytes, kConfigBlockSize);
  return frame;
}

}  // namespace

ConfigBlock BuildMasterBlock(const CardSnapshot& form) {
  ConfigBlock block = AddressBlock('M', form);
  for (int group = 0; group < kSettingGroupCount; ++group) {
    block.bytes[1 + group] = RadioGroupCode(form.radio[group]);
  }
  const WorkModeCode* mode = SelectedWorkMode(form);
  block.bytes[5] = mode ? mode->code : kWorkModes[0].code;
  std::memcpy(block.bytes + 8, form.systemKey, 6);
  SealBlock(block);
  return block;
}

ConfigBlock BuildUserWriteBlock(const CardSnapshot& form) {
  ConfigBlock block = AddressBlock('U', form);
  const WorkModeCode* mode = SelectedWorkMode(form);
  if (mode) {
    block.bytes[5] = mode->code;
    if (mode->encodesData) {
      EncodeSectorData(form.sectorData, block.bytes + 8);
    } else if (mode->carriesData) {
      std::memcpy(block.bytes + 8, form.sectorData, kSectorDataSize);
    }
  }
  SealBlock(block);
  return block;
}

ConfigBlock BuildUserAddressBlock(const CardSnapshot& form) {
  ConfigBlock block = AddressBlock('U', form);
  SealBlock(block);
  return block;
}

CommandFrame BuildMasterWrite(const CardSnapshot& form) {
  ConfigBlock block = BuildMasterBlock(form);
  return Frame('M', 'w', nullptr, &block);
}

CommandFrame BuildMasterRead(const CardSnapshot&) { return Frame('M', 'r', nullptr, nullptr); }

CommandFrame BuildMasterClear(const CardSnapshot&) { return Frame('M', 'c', nullptr, nullptr); }

CommandFrame BuildUserWrite(const CardSnapshot& form) {
  ConfigBlock block = BuildUserWriteBlock(form);
  return Frame('U', 'w', form.systemKey, &block);
}

CommandFrame BuildUserRead(const CardSnapshot& form) {
  ConfigBlock block = BuildUserAddressBlock(form);
  return Frame('U', 'r', form.systemKey, &block);
}

CommandFrame BuildUserClear(const CardSnapshot& form) {
  ConfigBlock block = BuildUserAddressBlock(form);
  return Frame('U', 'c', form.systemKey, &block);
}

bool UserWriteGeneratesData(const CardSnapshot& form) {
  const WorkModeCode* mode = SelectedWorkMode(form);
  return form.generateBeforeWrite && mode && mode->carriesData;
}
