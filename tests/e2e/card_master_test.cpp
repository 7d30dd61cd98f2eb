// Master cards end to end: the frame of a write with the settings chosen on the form, the card's
// block afterwards, and a read that brings every setting back into a form fresh from start-up.
#include <algorithm>

#include "card_scenario.h"

namespace {

const std::string kZeroKey(6, '\0');

class MasterCard : public CardScenario {};

struct MasterSettings {
  int radios[4];       // control ids of the checked buttons
  const char codes[5]; // their codes in block order
  int workMode;
  char workModeCode;
  int sectorSteps, blockSteps;
};

const MasterSettings kSettings[] = {
    {{27, 29, 32, 34}, "fefe", 3, 'g', 4, 2},
    {{26, 28, 31, 33}, "eded", 2, 'e', 14, 0},  // this work mode uses no block
};

TEST_F(MasterCard, WriteEachSettingThenReadItBackIntoAFreshForm) {
  for (const MasterSettings& settings : kSettings) {
    SCOPED_TRACE(settings.codes);
    HWND main = StartConnected();
    ASSERT_NE(main, nullptr);
    const std::string card = std::string("master-") + settings.codes + ".card";
    Present(card);
    for (int radio : settings.radios) ClickRadio(main, radio);
    Choose(main, 14, settings.workMode);
    StepUp(main, 15, settings.sectorSteps);
    StepUp(main, 17, settings.blockSteps);
    PressNow(main, 20);
    const std::string keyText = FieldText(main, 37);
    const int sector = std::min(1 + settings.sectorSteps, 15);
    const int block = std::min(settings.blockSteps, 2);
    EXPECT_EQ(FieldText(main, 16), std::to_string(sector));
    EXPECT_EQ(FieldText(main, 18), std::to_string(block));

    RunCardButton(main, 9, kOperationSuccessful, kSuccess);
    std::string expectedBlock = std::string("M") + settings.codes + settings.workModeCode +
                                static_cast<char>(sector) + static_cast<char>(block) + Bytes(keyText) +
                                std::string(2, '\0');
    const std::string frame = Frame("Mw", kZeroKey, expectedBlock);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
    EXPECT_EQ(SpacedHex(CardBlock(card, 1, 0)), SpacedHex(frame.substr(11)));

    // A fresh start: the form shows its defaults until the card is read.
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(ui::WaitExit(&program(), 10000, nullptr));
    main = StartConnected();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FieldText(main, 37), "00 00 00 00 00 00");
    RunCardButton(main, 10, kOperationSuccessful, kSuccess);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Mr", kZeroKey, "")));
    for (int radio : settings.radios) EXPECT_TRUE(Checked(main, radio)) << radio;
    EXPECT_FALSE(Checked(main, 25));
    EXPECT_EQ(Selection(main, 8), 0);
    EXPECT_EQ(Selection(main, 14), settings.workMode);
    EXPECT_EQ(FieldText(main, 16), std::to_string(sector));
    EXPECT_EQ(FieldText(main, 18), std::to_string(block));
    EXPECT_EQ(FieldText(main, 37), keyText);
    // The read-back values are the form's own: a user write now carries them.
    Choose(main, 8, 1);
    Present("user.card");
    RunCardButton(main, 9, kOperationSuccessful, kSuccess);
    EXPECT_EQ(Received().substr(5, 6), Bytes(keyText));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(ui::WaitExit(&program(), 10000, nullptr));
    simreader::Clean();
  }
}

// With "User" chosen, reading a master card sets the master radios and the key and shows the
// User view of the card's work mode; the card type stays on User.
TEST_F(MasterCard, ReadWhileUserIsChosen) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("master.card");
  for (int radio : {27, 29, 31, 34}) ClickRadio(main, radio);
  Choose(main, 14, 1);
  PressNow(main, 20);
  const std::string keyText = FieldText(main, 37);
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  Received();

  for (int radio : {25, 28, 30, 33}) ClickRadio(main, radio);
  Choose(main, 8, 1);
  Choose(main, 14, 3);
  RunCardButton(main, 10, kOperationSuccessful, kSuccess);
  EXPECT_EQ(SpacedHex(Received()),
            SpacedHex(Frame("Ur", Bytes(keyText), std::string("U\0\0\0\0\0\x01\0", 8) + std::string(8, '\0'))));
  for (int radio : {27, 29, 31, 34}) EXPECT_TRUE(Checked(main, radio)) << radio;
  EXPECT_EQ(Selection(main, 8), 1);
  EXPECT_EQ(Selection(main, 14), 1);
  EXPECT_EQ(FieldText(main, 37), keyText);
  // The User view of work mode 1: the sector data field is shown.
  EXPECT_TRUE(ui::Visible(ui::Control(main, 38)));
}

}  // namespace
