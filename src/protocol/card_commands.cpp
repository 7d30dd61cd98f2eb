// Builds every card command from zero, so no byte of an earlier frame survives into a later one.
// Nothing is validated here: only the low byte of the sector and block numbers is sent.
#include "protocol/card_commands.h"

#include <cstring>

#include "base/card_number.h"

const SettingGroup kSettingGroups[kSettingGroupCount] = {
    {3},  // Touch Memory d, Wiegand 26 e, Wiegand 44 f
    {2},  // Direct d, Inverse e
    {3},  // Dynamic d, Static e, Off f
    {2},  // On d, Off e
};

const WorkModeCode kWorkModes[kWorkModeCount] = {
    {'d', false, false},  // Send card ID
    {'f', true, false},   // Send sector data after logged in
    {'e', false, false},  // Send card ID after logged in
    {'g', true, true},    // Send sector data after logged in and decrypt
};

// A constant of the readers; it never changes.
const uint8_t kSectorDataMask[kSectorDataSize] = {0x5A, 0x17, 0xC3, 0x9E, 0x04, 0xB2, 0x6D};

namespace {

const WorkModeCode* SelectedWorkMode(const CardSnapshot& form) {
  return (form.workMode >= 0 && form.workMode < kWorkModeCount) ? &kWorkModes[form.workMode] : nullptr;
}

ConfigBlock AddressBlock(uint8_t cardLetter, const CardSnapshot& form) {
  ConfigBlock block = {};
  block.bytes[0] = cardLetter;
  block.bytes[6] = static_cast<uint8_t>(form.sectorNumber);
  block.bytes[7] = static_cast<uint8_t>(form.blockNumber);
  return block;
}

void SealBlock(ConfigBlock& block) { block.bytes[15] = Crc8(block.bytes, 15); }

CommandFrame Frame(uint8_t cardLetter, uint8_t operation, const uint8_t* key, const ConfigBlock* block) {
  CommandFrame frame = {};
  std::memcpy(frame.bytes, "AT+", 3);
  frame.bytes[3] = cardLetter;
  frame.bytes[4] = operation;
  if (key) std::memcpy(frame.bytes + kFrameKeyOffset, key, 6);
  if (block) std::memcpy(frame.bytes + kFrameBlockOffset, block->bytes, kConfigBlockSize);
  return frame;
}

// The frame builders by card type and operation.
CommandFrame (*const kFrameBuilders[2][3])(const CardSnapshot&) = {
    {BuildMasterWrite, BuildMasterRead, BuildMasterClear},
    {BuildUserWrite, BuildUserRead, BuildUserClear},
};

}  // namespace

uint8_t RadioGroupCode(int checkedIndex) {
  return static_cast<uint8_t>(kFirstSettingCode + (checkedIndex < 0 ? 0 : checkedIndex));
}

int RadioIndexOfCode(uint8_t code, int buttonCount) {
  const int index = code - kFirstSettingCode;
  return (index >= 0 && index < buttonCount) ? index : -1;
}

int WorkModeIndexOfCode(uint8_t code) {
  for (int i = 0; i < kWorkModeCount; ++i) {
    if (kWorkModes[i].code == code) return i;
  }
  return -1;
}

void EncodeSectorData(const uint8_t data[kSectorDataSize], uint8_t out[kSectorDataSize]) {
  for (int i = 0; i < kSectorDataSize; ++i) out[i] = static_cast<uint8_t>(~(data[i] ^ kSectorDataMask[i]));
}

void DecodeSectorData(uint8_t data[kSectorDataSize]) {
  for (int i = 0; i < kSectorDataSize; ++i) {
    data[i] = static_cast<uint8_t>(static_cast<uint8_t>(~data[i]) ^ kSectorDataMask[i]);
  }
}

ConfigBlock BuildMasterBlock(const CardSnapshot& form) {
  ConfigBlock block = AddressBlock('M', form);
  for (int group = 0; group < kSettingGroupCount; ++group) block.bytes[1 + group] = RadioGroupCode(form.radio[group]);
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
  const ConfigBlock block = BuildMasterBlock(form);
  return Frame('M', 'w', nullptr, &block);
}

CommandFrame BuildMasterRead(const CardSnapshot&) { return Frame('M', 'r', nullptr, nullptr); }

CommandFrame BuildMasterClear(const CardSnapshot&) { return Frame('M', 'c', nullptr, nullptr); }

CommandFrame BuildUserWrite(const CardSnapshot& form) {
  const ConfigBlock block = BuildUserWriteBlock(form);
  return Frame('U', 'w', form.systemKey, &block);
}

CommandFrame BuildUserRead(const CardSnapshot& form) {
  const ConfigBlock block = BuildUserAddressBlock(form);
  return Frame('U', 'r', form.systemKey, &block);
}

CommandFrame BuildUserClear(const CardSnapshot& form) {
  const ConfigBlock block = BuildUserAddressBlock(form);
  return Frame('U', 'c', form.systemKey, &block);
}

bool UserWriteGeneratesData(const CardSnapshot& form) {
  const WorkModeCode* mode = SelectedWorkMode(form);
  return form.generateBeforeWrite && mode && mode->carriesData;
}

CardRequest RequestCard(CardOperation operation, const CardSnapshot& form, bool portOpen, bool waitRunning,
                        bool dataGenerated) {
  CardRequest request;
  if (!portOpen) {
    request.kind = kCardRequestSearch;
    return request;
  }
  if (form.cardType != kCardMaster && form.cardType != kCardUser) return request;
  if (form.cardType == kCardUser && operation == kCardWrite && UserWriteGeneratesData(form) && !dataGenerated) {
    request.kind = kCardRequestGenerate;
    return request;
  }
  if (waitRunning) return request;
  request.kind = kCardRequestSend;
  request.frame = kFrameBuilders[form.cardType][operation](form);
  return request;
}
