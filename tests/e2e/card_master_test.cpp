// Master cards end to end: the frame of a write with the settings chosen on the form, the card's
// block afterwards, and a read that brings every setting back into a form fresh from start-up.
#include <algorithm>

#include "card_scenario.h"

namespace {

class MasterCard : public CardScenario {};

struct MasterSettings {
  int radios[4];       // control ids of the checked buttons
  const char codes[5]; // their codes in block order
  int workMode;
  char workModeCode;
  int sectorSteps, blockSteps;
};

const MasterSettings kSettings[] = {
    {{kIdInterfaceWiegand44, kIdIndicationInverse, kIdStandbyOff, kIdTouchPollOff}, "fefe", kModeSectorDataDecrypt,
     'g', 4, 2},
    // This work mode uses no block.
    {{kIdInterfaceWiegand26, kIdIndicationDirect, kIdStandbyStatic, kIdTouchPollOn}, "eded", kModeCardIdAuth, 'e', 14,
     0},
};

TEST_F(MasterCard, WriteEachSettingThenReadItBackIntoAFreshForm) {
  for (const MasterSettings& settings : kSettings) {
    SCOPED_TRACE(settings.codes);
    HWND main = StartConnected();
    ASSERT_NE(main, nullptr);
    const std::string card = std::string("master-") + settings.codes + ".card";
    Present(card);
    for (int radio : settings.radios) ClickRadio(main, radio);
    ChooseView(main, kMasterCard, settings.workMode);
    StepUp(main, kIdSectorUpDown, settings.sectorSteps);
    StepUp(main, kIdBlockUpDown, settings.blockSteps);
    PressNow(main, kIdGenerateRandom);
    const std::string keyText = FieldText(main, kIdKeyEdit);
    const int sector = std::min(1 + settings.sectorSteps, 15);
    const int block = std::min(settings.blockSteps, 2);
    EXPECT_EQ(FieldText(main, kIdSectorEdit), std::to_string(sector));
    EXPECT_EQ(FieldText(main, kIdBlockEdit), std::to_string(block));

    RunCardButton(main, kIdWrite);
    std::string expectedBlock = std::string("M") + settings.codes + settings.workModeCode +
                                static_cast<char>(sector) + static_cast<char>(block) + Bytes(keyText) +
                                std::string(2, '\0');
    const std::string frame = Frame("Mw", kZeroKey, expectedBlock);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
    EXPECT_EQ(SpacedHex(CardBlock(card, 1, 0)), SpacedHex(frame.substr(11)));

    // A fresh start: the form shows its defaults until the card is read.
    ASSERT_TRUE(CloseMain(main));
    main = StartConnected();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FieldText(main, kIdKeyEdit), "00 00 00 00 00 00");
    RunCardButton(main, kIdRead);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Mr", kZeroKey, "")));
    for (int radio : settings.radios) EXPECT_TRUE(Checked(main, radio)) << radio;
    EXPECT_FALSE(Checked(main, kIdInterfaceTouchMemory));
    EXPECT_EQ(Selection(main, kIdCardType), kMasterCard);
    EXPECT_EQ(Selection(main, kIdWorkMode), settings.workMode);
    EXPECT_EQ(FieldText(main, kIdSectorEdit), std::to_string(sector));
    EXPECT_EQ(FieldText(main, kIdBlockEdit), std::to_string(block));
    EXPECT_EQ(FieldText(main, kIdKeyEdit), keyText);
    // The read-back values are the form's own: a user write now carries them.
    Choose(main, kIdCardType, kUserCard);
    Present("user.card");
    RunCardButton(main, kIdWrite);
    EXPECT_EQ(Received().substr(5, 6), Bytes(keyText));
    ASSERT_TRUE(CloseMain(main));
    simreader::Clean();
  }
}

// With "User" chosen, reading a master card sets the master radios and the key and shows the
// User view of the card's work mode; the card type stays on User.
TEST_F(MasterCard, ReadWhileUserIsChosen) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  const int written[] = {kIdInterfaceWiegand44, kIdIndicationInverse, kIdStandbyStatic, kIdTouchPollOff};
  for (int radio : written) ClickRadio(main, radio);
  ChooseView(main, kMasterCard, kModeSectorData);
  PressNow(main, kIdGenerateRandom);
  const std::string keyText = FieldText(main, kIdKeyEdit);
  RunCardButton(main, kIdWrite);
  Received();

  for (int radio : {kIdInterfaceTouchMemory, kIdIndicationDirect, kIdStandbyDynamic, kIdTouchPollOn}) {
    ClickRadio(main, radio);
  }
  ChooseView(main, kUserCard, kModeSectorDataDecrypt);
  RunCardButton(main, kIdRead);
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Ur", Bytes(keyText), UserBlock('\0', 1, 0))));
  for (int radio : written) EXPECT_TRUE(Checked(main, radio)) << radio;
  EXPECT_EQ(Selection(main, kIdCardType), kUserCard);
  EXPECT_EQ(Selection(main, kIdWorkMode), kModeSectorData);
  EXPECT_EQ(FieldText(main, kIdKeyEdit), keyText);
  // The User view of the card's work mode: the sector data field is shown.
  EXPECT_TRUE(ui::Visible(ui::Control(main, kIdDataEdit)));
}

}  // namespace
