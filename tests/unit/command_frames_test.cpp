// The 27-byte card commands byte for byte, the setting codes of the radios and work modes, and
// the sector data transform of the encrypted work mode.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/card_commands.h"
#include "base/card_number.h"
#include "ui/form_state.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(const char* text) {
  std::istringstream in(text);
  Bytes bytes;
  unsigned value;
  while (in >> std::hex >> value) bytes.push_back(static_cast<uint8_t>(value));
  return bytes;
}

Bytes Of(const uint8_t* bytes, size_t n) { return Bytes(bytes, bytes + n); }

// The form as it starts: FormState's initial values, the first radio of every group checked.
CardSnapshot DefaultForm(int workMode) {
  const FormState start;
  CardSnapshot form;
  form.sectorNumber = start.sectorNumber;
  form.blockNumber = start.blockNumber;
  std::memcpy(form.systemKey, start.systemKey, sizeof form.systemKey);
  std::memcpy(form.sectorData, start.sectorData, sizeof form.sectorData);
  form.workMode = workMode;
  for (int& r : form.radio) r = 0;
  return form;
}

TEST(CommandFrames, FramesByteForByte) {
  const char* zeros22 = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
  struct Case {
    const char* name;
    CommandFrame (*build)(const CardSnapshot&);
    int workMode;
    std::string expected;
  };
  const Case cases[] = {
      {"master write", BuildMasterWrite, 0,
       "41 54 2B 4D 77 0 0 0 0 0 0 4D 64 64 64 64 64 01 00 0 0 0 0 0 0 0 A0"},
      {"user read", BuildUserRead, 0,
       "41 54 2B 55 72 0 0 0 0 0 0 55 00 00 00 00 00 01 00 0 0 0 0 0 0 0 D5"},
      {"user clear", BuildUserClear, 3,
       "41 54 2B 55 63 0 0 0 0 0 0 55 00 00 00 00 00 01 00 0 0 0 0 0 0 0 D5"},
      {"user write, mode 1", BuildUserWrite, 1,
       "41 54 2B 55 77 0 0 0 0 0 0 55 00 00 00 00 66 01 00 11 22 33 44 55 66 77 0D"},
      {"master read", BuildMasterRead, 1, std::string("41 54 2B 4D 72 ") + zeros22},
      {"master clear", BuildMasterClear, 3, std::string("41 54 2B 4D 63 ") + zeros22},
  };
  for (const Case& c : cases) {
    CardSnapshot form = DefaultForm(c.workMode);
    EXPECT_EQ(Of(c.build(form).bytes, kCommandFrameSize), Hex(c.expected.c_str())) << c.name;
    // A key, sector and block of the form never reach a master read or clear.
    form.systemKey[0] = 0xA5;
    form.sectorNumber = 9;
    if (c.build == BuildMasterRead || c.build == BuildMasterClear) {
      EXPECT_EQ(Of(c.build(form).bytes, kCommandFrameSize), Hex(c.expected.c_str())) << c.name;
    }
  }
}

TEST(CommandFrames, UserFramesCarryTheKeyAndTheLowBytesOfSectorAndBlock) {
  CardSnapshot form = DefaultForm(1);
  const Bytes key = Hex("01 23 45 67 89 AB");
  std::copy(key.begin(), key.end(), form.systemKey);
  form.sectorNumber = 0x10F;
  form.blockNumber = 0x102;
  for (auto build : {BuildUserWrite, BuildUserRead, BuildUserClear}) {
    CommandFrame frame = build(form);
    EXPECT_EQ(Of(frame.bytes + kFrameKeyOffset, 6), key);
    EXPECT_EQ(Of(frame.bytes + kFrameBlockOffset + 6, 2), Hex("0F 02"));
    EXPECT_EQ(Crc8(frame.bytes + kFrameBlockOffset, 16), 0);
  }
  ConfigBlock master = BuildMasterBlock(form);
  EXPECT_EQ(Of(master.bytes + 8, 7), Hex("01 23 45 67 89 AB 00"));
}

TEST(CommandFrames, WorkModesInUserWrite) {
  uint8_t encoded[7];
  EncodeSectorData(FormState().sectorData, encoded);
  struct Case {
    int workMode;
    uint8_t code;
    Bytes data;
    bool generatesWhenChecked;
  };
  const Case cases[] = {
      {-1, 0x00, Bytes(7, 0), false},
      {0, 'd', Bytes(7, 0), false},
      {1, 'f', Hex("11 22 33 44 55 66 77"), true},
      {2, 'e', Bytes(7, 0), false},
      {3, 'g', Of(encoded, 7), true},
  };
  for (const Case& c : cases) {
    CardSnapshot form = DefaultForm(c.workMode);
    ConfigBlock block = BuildUserWriteBlock(form);
    EXPECT_EQ(block.bytes[5], c.code) << c.workMode;
    EXPECT_EQ(Of(block.bytes + 8, 7), c.data) << c.workMode;
    EXPECT_FALSE(UserWriteGeneratesData(form)) << c.workMode;
    form.generateBeforeWrite = true;
    EXPECT_EQ(UserWriteGeneratesData(form), c.generatesWhenChecked) << c.workMode;
  }
}

TEST(CommandFrames, MasterBlockSettingCodes) {
  struct Case {
    int workMode;
    int radio[4];
    const char* expected;  // block bytes 1 to 5
  };
  const Case cases[] = {
      {1, {1, 1, 1, 1}, "eeeef"},
      {2, {2, 0, 2, 0}, "fdfde"},
      {3, {0, 1, 2, 1}, "defeg"},
      {-1, {-1, -1, -1, -1}, "ddddd"},
  };
  for (const Case& c : cases) {
    CardSnapshot form = DefaultForm(c.workMode);
    std::copy(c.radio, c.radio + 4, form.radio);
    ConfigBlock block = BuildMasterBlock(form);
    EXPECT_EQ(std::string(block.bytes + 1, block.bytes + 6), c.expected) << c.workMode;
  }
}

TEST(SectorDataCodec, DecodeUndoesEncode) {
  for (const char* sample : {"11 22 33 44 55 66 77", "00 00 00 00 00 00 00", "FF FF FF FF FF FF FF"}) {
    Bytes plain = Hex(sample);
    uint8_t data[7];
    EncodeSectorData(plain.data(), data);
    EXPECT_NE(Of(data, 7), plain);
    DecodeSectorData(data);
    EXPECT_EQ(Of(data, 7), plain);
  }
  uint8_t encoded[7];
  EncodeSectorData(Hex("00 00 00 00 00 00 00").data(), encoded);
  EXPECT_EQ(Of(encoded, 7), Hex("A5 E8 3C 61 FB 4D 92"));  // the mask inverted
}

// What a press asks for, in its order: the search with no port, nothing without a card type, new
// data first for a user write that generates it, nothing while a wait runs, else the frame.
TEST(CommandFrames, EachOperationAsksForTheSearchTheDataOrItsFrame) {
  const struct {
    const char* name;
    int cardType;
    CardOperation operation;
    bool generate, portOpen, waitRunning, generated;
    CardRequestKind kind;
    const char* letters;  // the frame's card and operation letters
  } kCases[] = {
      {"no port", kCardUser, kCardWrite, true, false, false, false, kCardRequestSearch, ""},
      {"no card type", -1, kCardRead, false, true, false, false, kCardRequestNothing, ""},
      {"user write to generate", kCardUser, kCardWrite, true, true, true, false, kCardRequestGenerate, ""},
      {"user write generated, wait running", kCardUser, kCardWrite, true, true, true, true, kCardRequestNothing, ""},
      {"user write generated", kCardUser, kCardWrite, true, true, false, true, kCardRequestSend, "Uw"},
      {"master write, box checked", kCardMaster, kCardWrite, true, true, false, false, kCardRequestSend, "Mw"},
      {"master read", kCardMaster, kCardRead, false, true, false, false, kCardRequestSend, "Mr"},
      {"user clear", kCardUser, kCardClear, false, true, false, false, kCardRequestSend, "Uc"},
      {"master clear while a wait runs", kCardMaster, kCardClear, false, true, true, false, kCardRequestNothing, ""},
  };
  for (const auto& c : kCases) {
    CardSnapshot form = DefaultForm(1);
    form.cardType = c.cardType;
    form.generateBeforeWrite = c.generate;
    const CardRequest request = RequestCard(c.operation, form, c.portOpen, c.waitRunning, c.generated);
    EXPECT_EQ(request.kind, c.kind) << c.name;
    const std::string letters(reinterpret_cast<const char*>(request.frame.bytes) + 3, 2);
    EXPECT_EQ(letters, request.kind == kCardRequestSend ? c.letters : std::string(2, '\0')) << c.name;
  }
}

}  // namespace
