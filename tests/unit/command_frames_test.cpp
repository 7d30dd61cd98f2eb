// The 27-byte card commands byte for byte, the setting codes of every radio and work mode, and
// the sector data transform of the encrypted work mode.
#include <gtest/gtest.h>

#include <vector>

#include "protocol/command_frames.h"
#include "protocol/crc8.h"
#include "protocol/sector_data_codec.h"

namespace {

std::vector<uint8_t> Bytes(const CommandFrame& frame) {
  return std::vector<uint8_t>(frame.bytes, frame.bytes + kCommandFrameSize);
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<uint8_t> kSixZeros(6, 0);
const uint8_t kDefaultData[7] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};

// The form as it starts: FormState's initial values, the first radio of every group checked.
CardSnapshot DefaultForm(int workMode) {
  CardSnapshot form = SnapshotOfFormState(FormState());
  form.workMode = workMode;
  for (int& r : form.radio) r = 0;
  return form;
}

TEST(CommandFrames, FramesByteForByte) {
  struct Case {
    const char* name;
    CommandFrame (*build)(const CardSnapshot&);
    int workMode;
    std::vector<uint8_t> expected;
  };
  const std::vector<uint8_t> at = {0x41, 0x54, 0x2B};
  const Case cases[] = {
      {"master write", BuildMasterWrite, 0,
       Concat({at, {0x4D, 0x77}, kSixZeros,
               {0x4D, 0x64, 0x64, 0x64, 0x64, 0x64, 0x01, 0x00}, std::vector<uint8_t>(7, 0), {0xA0}})},
      {"user read", BuildUserRead, 0,
       Concat({at, {0x55, 0x72}, kSixZeros,
               {0x55, 0, 0, 0, 0, 0, 0x01, 0x00}, std::vector<uint8_t>(7, 0), {0xD5}})},
      {"user clear carries the read block", BuildUserClear, 3,
       Concat({at, {0x55, 0x63}, kSixZeros,
               {0x55, 0, 0, 0, 0, 0, 0x01, 0x00}, std::vector<uint8_t>(7, 0), {0xD5}})},
      {"user write, mode 1", BuildUserWrite, 1,
       Concat({at, {0x55, 0x77}, kSixZeros,
               {0x55, 0, 0, 0, 0, 0x66, 0x01, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x0D}})},
      {"master read", BuildMasterRead, 1, Concat({at, {0x4D, 0x72}, std::vector<uint8_t>(22, 0)})},
      {"master clear", BuildMasterClear, 3, Concat({at, {0x4D, 0x63}, std::vector<uint8_t>(22, 0)})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Bytes(c.build(DefaultForm(c.workMode))), c.expected) << c.name;
  }
}

TEST(CommandFrames, MasterReadAndClearCarryNoKeySectorOrBlock) {
  CardSnapshot form = DefaultForm(2);
  for (int i = 0; i < 6; ++i) form.systemKey[i] = 0xA0 + i;
  form.sectorNumber = 9;
  form.blockNumber = 2;
  for (auto build : {BuildMasterRead, BuildMasterClear}) {
    CommandFrame frame = build(form);
    for (int i = 5; i < kCommandFrameSize; ++i) EXPECT_EQ(frame.bytes[i], 0) << i;
  }
}

TEST(CommandFrames, UserFramesCarryTheKeyAndTheLowBytesOfSectorAndBlock) {
  CardSnapshot form = DefaultForm(1);
  const uint8_t key[6] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB};
  std::copy(key, key + 6, form.systemKey);
  form.sectorNumber = 0x10F;
  form.blockNumber = 0x102;
  for (auto build : {BuildUserWrite, BuildUserRead, BuildUserClear}) {
    CommandFrame frame = build(form);
    EXPECT_EQ(std::vector<uint8_t>(frame.bytes + 5, frame.bytes + 11), std::vector<uint8_t>(key, key + 6));
    EXPECT_EQ(frame.bytes[kFrameBlockOffset + 6], 0x0F);
    EXPECT_EQ(frame.bytes[kFrameBlockOffset + 7], 0x02);
    EXPECT_EQ(Crc8(frame.bytes + kFrameBlockOffset, 16), 0);
  }
  ConfigBlock master = BuildMasterBlock(form);
  EXPECT_EQ(std::vector<uint8_t>(master.bytes + 8, master.bytes + 14), std::vector<uint8_t>(key, key + 6));
  EXPECT_EQ(master.bytes[14], 0);
}

TEST(CommandFrames, WorkModesInUserWrite) {
  uint8_t encoded[7];
  EncodeSectorData(kDefaultData, encoded);
  struct Case {
    int workMode;
    uint8_t code;
    const uint8_t* data;  // null: bytes 8 to 14 are zero
    bool generatesWhenChecked;
  };
  const Case cases[] = {
      {-1, 0x00, nullptr, false}, {0, 'd', nullptr, false}, {1, 'f', kDefaultData, true},
      {2, 'e', nullptr, false},   {3, 'g', encoded, true},
  };
  for (const Case& c : cases) {
    CardSnapshot form = DefaultForm(c.workMode);
    ConfigBlock block = BuildUserWriteBlock(form);
    EXPECT_EQ(block.bytes[5], c.code) << c.workMode;
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(block.bytes[8 + i], c.data ? c.data[i] : 0) << c.workMode << " byte " << i;
    }
    EXPECT_EQ(Crc8(block.bytes, 16), 0) << c.workMode;
    EXPECT_FALSE(UserWriteGeneratesData(form)) << c.workMode;
    form.generateBeforeWrite = true;
    EXPECT_EQ(UserWriteGeneratesData(form), c.generatesWhenChecked) << c.workMode;
  }
}

TEST(CommandFrames, MasterBlockSettingCodes) {
  struct Case {
    int workMode;
    int radio[4];
    uint8_t expected[5];  // bytes 1 to 5
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0}, {'d', 'd', 'd', 'd', 'd'}},
      {1, {1, 1, 1, 1}, {'e', 'e', 'e', 'e', 'f'}},
      {2, {2, 0, 2, 0}, {'f', 'd', 'f', 'd', 'e'}},
      {3, {0, 1, 2, 1}, {'d', 'e', 'f', 'e', 'g'}},
      {-1, {-1, -1, -1, -1}, {'d', 'd', 'd', 'd', 'd'}},
  };
  for (const Case& c : cases) {
    CardSnapshot form = DefaultForm(c.workMode);
    std::copy(c.radio, c.radio + 4, form.radio);
    ConfigBlock block = BuildMasterBlock(form);
    EXPECT_EQ(block.bytes[0], 'M');
    for (int i = 0; i < 5; ++i) EXPECT_EQ(block.bytes[1 + i], c.expected[i]) << c.workMode << " " << i;
  }
}

TEST(SectorDataCodec, DecodeUndoesEncode) {
  const uint8_t samples[][7] = {
      {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77},
      {0, 0, 0, 0, 0, 0, 0},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
      {0x5A, 0x17, 0xC3, 0x9E, 0x04, 0xB2, 0x6D},
  };
  for (const auto& sample : samples) {
    uint8_t data[7];
    EncodeSectorData(sample, data);
    EXPECT_NE(std::vector<uint8_t>(data, data + 7), std::vector<uint8_t>(sample, sample + 7));
    DecodeSectorData(data);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 7), std::vector<uint8_t>(sample, sample + 7));
  }
  uint8_t zeros[7] = {};
  uint8_t encoded[7];
  EncodeSectorData(zeros, encoded);
  EXPECT_EQ(encoded[0], 0xA5);  // ~(0x00 ^ 0x5A)
  EXPECT_EQ(encoded[6], 0x92);  // ~(0x00 ^ 0x6D)
}

}  // namespace
