// User cards end to end in the work modes: the frame, what the card stores (the mask applied
// in the decrypting mode), and a read that shows the plain data again; a wrong key is refused; a
// blank sector read is written back where the form shows.
#include "card_scenario.h"
#include "x_input.h"

namespace {

class UserCard : public CardScenario {};

struct ModeCase {
  int workMode;
  char code;
  bool carriesData;
  bool encoded;
};

const ModeCase kModes[] = {
    {kModeCardId, 'd', false, false},
    {kModeSectorData, 'f', true, false},
    {kModeCardIdAuth, 'e', false, false},
    {kModeSectorDataDecrypt, 'g', true, true},
};

TEST_F(UserCard, WriteAndReadInEveryWorkMode) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  // User cards take the key chosen in a master view.
  ChooseView(main, kMasterCard, kModeSectorData);
  PressNow(main, kIdGenerateRandom);
  Choose(main, kIdCardType, kUserCard);
  const std::string key = Bytes(FieldText(main, kIdKeyEdit));
  for (const ModeCase& mode : kModes) {
    SCOPED_TRACE(mode.workMode);
    Choose(main, kIdWorkMode, mode.workMode);
    if (mode.workMode == kModeCardId) {
      // "Send card ID" needs nothing on a user card: the card buttons are disabled.
      for (int button : {kIdWrite, kIdRead, kIdClear, kIdWriteCyclically, kIdClearCyclically}) {
        EXPECT_FALSE(ui::Enabled(ui::Control(main, button))) << button;
      }
      continue;
    }
    const std::string data = Bytes(FieldText(main, kIdDataEdit));
    ASSERT_EQ(data.size(), 7u);
    RunCardButton(main, kIdWrite);
    std::string stored = !mode.carriesData ? std::string(7, '\0') : mode.encoded ? Masked(data) : data;
    const std::string frame = Frame("Uw", key, UserBlock(mode.code, 1, 0, stored));
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
    EXPECT_EQ(SpacedHex(CardBlock("user.card", 1, 0)), SpacedHex(frame.substr(11)));
    EXPECT_EQ(CardKey("user.card", 1), key);

    // Other data on the form; the read brings back what the card holds, in plain.
    if (mode.carriesData) {
      PressNow(main, kIdGenerateUnique);
      EXPECT_NE(FieldText(main, kIdDataEdit), SpacedHex(data));
    }
    Choose(main, kIdWorkMode, mode.workMode == kModeSectorData ? kModeSectorDataDecrypt : kModeSectorData);
    RunCardButton(main, kIdRead);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Ur", key, UserBlock('\0', 1, 0))));
    EXPECT_EQ(Selection(main, kIdWorkMode), mode.workMode);
    EXPECT_EQ(Selection(main, kIdCardType), kUserCard);
    EXPECT_EQ(FieldText(main, kIdDataEdit), SpacedHex(mode.carriesData ? data : std::string(7, '\0')));
    if (!mode.carriesData) {
      Choose(main, kIdWorkMode, kModeSectorData);
      PressNow(main, kIdGenerateUnique);
    }
  }
}

// The card's sector is locked with the key it was written with: another key gets "The operation
// failed!", and the card keeps its data.
TEST_F(UserCard, AnotherKeyIsRefusedByTheCard) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  ChooseView(main, kUserCard, kModeSectorData);
  RunCardButton(main, kIdWrite);
  const std::string before = CardBlock("user.card", 1, 0);
  Choose(main, kIdCardType, kMasterCard);
  PressNow(main, kIdGenerateRandom);
  Choose(main, kIdCardType, kUserCard);
  RunCardButton(main, kIdWrite, "The operation failed!", kMessageError);
  RunCardButton(main, kIdRead, "The operation failed!", kMessageError);
  EXPECT_EQ(CardBlock("user.card", 1, 0), before);
}

// A blank sector, read with the transport key typed into the key field, gives sixteen zero
// bytes: sector 0, which the form shows as 1. The next write goes to sector 1, block 0, as shown.
TEST_F(UserCard, ABlankSectorReadIsWrittenBackWhereTheFormShows) {
  ASSERT_TRUE(ui::XInputAvailable()) << "no X input server (KEYLOOM_XINPUT)";
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  // Key, sector and block are chosen in a master view; the user view keeps them.
  ChooseView(main, kMasterCard, kModeSectorData);
  HWND key = ui::Control(main, kIdKeyEdit);
  ASSERT_TRUE(ui::ClickWindow(key));
  ASSERT_TRUE(Eventually([&] { return FocusOf(key) == key; }));
  ASSERT_TRUE(ui::XDoTool({"key", "End", "key", "--repeat", "12", "BackSpace"}));
  ASSERT_TRUE(ui::TypeText("FFFFFFFFFFFF"));
  // The twelfth digit commits the key and hands the focus back to the main window.
  ASSERT_TRUE(Eventually([&] { return FocusOf(main) == main; }));
  ASSERT_EQ(FieldText(main, kIdKeyEdit), "FF FF FF FF FF FF");
  StepUp(main, kIdSectorUpDown, 2);
  StepUp(main, kIdBlockUpDown, 1);
  ASSERT_EQ(FieldText(main, kIdSectorEdit), "3");
  ASSERT_EQ(FieldText(main, kIdBlockEdit), "1");
  Choose(main, kIdCardType, kUserCard);

  const std::string transportKey(6, '\xFF');
  const std::string blank(16, '\0');
  RunCardButton(main, kIdRead);
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Ur", transportKey, UserBlock('\0', 3, 1))));
  EXPECT_EQ(FieldText(main, kIdSectorEdit), "1");
  EXPECT_EQ(FieldText(main, kIdBlockEdit), "0");
  EXPECT_EQ(FieldText(main, kIdDataEdit), "00 00 00 00 00 00 00");
  // The reader made the card, blank, at that first command.
  ASSERT_EQ(CardBlock("user.card", 3, 1), blank);
  const std::string manufacturer = CardBlock("user.card", 0, 0);

  RunCardButton(main, kIdWrite);
  const std::string frame = Frame("Uw", transportKey, UserBlock('f', 1, 0));
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
  EXPECT_EQ(SpacedHex(CardBlock("user.card", 1, 0)), SpacedHex(frame.substr(11)));
  EXPECT_EQ(CardBlock("user.card", 0, 0), manufacturer);
  EXPECT_EQ(CardBlock("user.card", 3, 1), blank);
}

}  // namespace
