// User cards end to end in the work modes: the frame, what the card stores (the mask applied
// in the decrypting mode), and a read that shows the plain data again; a wrong key is refused; a
// blank sector read is written back where the form shows.
#include "card_scenario.h"
#include "settled_scenario.h"
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
    {0, 'd', false, false},
    {1, 'f', true, false},
    {2, 'e', false, false},
    {3, 'g', true, true},
};

const uint8_t kMask[7] = {0x5A, 0x17, 0xC3, 0x9E, 0x04, 0xB2, 0x6D};

std::string Masked(const std::string& data) {
  std::string out = data;
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(~(data[i] ^ kMask[i]));
  return out;
}

TEST_F(UserCard, WriteAndReadInEveryWorkMode) {
  WriteFile("usersData.data", "");
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  // User cards take the key chosen in a master view.
  Choose(main, 14, 1);
  PressNow(main, 20);
  Choose(main, 8, 1);
  const std::string key = Bytes(FieldText(main, 37));
  for (const ModeCase& mode : kModes) {
    SCOPED_TRACE(mode.workMode);
    Choose(main, 14, mode.workMode);
    if (mode.workMode == 0) {
      // "Send card ID" needs nothing on a user card: the card buttons are disabled.
      for (int button : {9, 10, 11, 12, 13}) EXPECT_FALSE(ui::Enabled(ui::Control(main, button))) << button;
      continue;
    }
    const std::string data = Bytes(FieldText(main, 38));
    ASSERT_EQ(data.size(), 7u);
    RunCardButton(main, 9, kOperationSuccessful, kSuccess);
    std::string stored = !mode.carriesData ? std::string(7, '\0') : mode.encoded ? Masked(data) : data;
    const std::string block = std::string("U\0\0\0\0", 5) + mode.code + std::string("\x01\0", 2) + stored + '\0';
    const std::string frame = Frame("Uw", key, block);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
    EXPECT_EQ(SpacedHex(CardBlock("user.card", 1, 0)), SpacedHex(frame.substr(11)));
    EXPECT_EQ(CardKey("user.card", 1), key);

    // Other data on the form; the read brings back what the card holds, in plain.
    if (mode.carriesData) {
      PressNow(main, 23);
      EXPECT_NE(FieldText(main, 38), SpacedHex(data));
    }
    Choose(main, 14, mode.workMode == 1 ? 3 : 1);
    RunCardButton(main, 10, kOperationSuccessful, kSuccess);
    EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Ur", key, std::string("U\0\0\0\0\0\x01\0", 8) + std::string(8, '\0'))));
    EXPECT_EQ(Selection(main, 14), mode.workMode);
    EXPECT_EQ(Selection(main, 8), 1);
    EXPECT_EQ(FieldText(main, 38), SpacedHex(mode.carriesData ? data : std::string(7, '\0')));
    if (!mode.carriesData) {
      Choose(main, 14, 1);
      PressNow(main, 23);
    }
  }
}

// The card's sector is locked with the key it was written with: another key gets "The operation
// failed!", and the card keeps its data.
TEST_F(UserCard, AnotherKeyIsRefusedByTheCard) {
  HWND main = StartConnected();
  ASSERT_NE(main, nullptr);
  Present("user.card");
  Choose(main, 8, 1);
  Choose(main, 14, 1);
  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  const std::string before = CardBlock("user.card", 1, 0);
  Choose(main, 8, 0);
  PressNow(main, 20);
  Choose(main, 8, 1);
  RunCardButton(main, 9, "The operation failed!", kError);
  RunCardButton(main, 10, "The operation failed!", kError);
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
  Choose(main, 14, 1);
  HWND key = ui::Control(main, 37);
  ASSERT_TRUE(ui::ClickWindow(key));
  ASSERT_TRUE(Eventually([&] { return FocusOf(key) == key; }));
  ASSERT_TRUE(ui::XDoTool({"key", "End", "key", "--repeat", "12", "BackSpace"}));
  ASSERT_TRUE(ui::TypeText("FFFFFFFFFFFF"));
  // The twelfth digit commits the key and hands the focus back to the main window.
  ASSERT_TRUE(Eventually([&] { return FocusOf(main) == main; }));
  ASSERT_EQ(FieldText(main, 37), "FF FF FF FF FF FF");
  StepUp(main, 15, 2);
  StepUp(main, 17, 1);
  ASSERT_EQ(FieldText(main, 16), "3");
  ASSERT_EQ(FieldText(main, 18), "1");
  Choose(main, 8, 1);

  const std::string transportKey(6, '\xFF');
  const std::string blank(16, '\0');
  RunCardButton(main, 10, kOperationSuccessful, kSuccess);
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(Frame("Ur", transportKey, std::string("U\0\0\0\0\0\x03\x01", 8) + blank.substr(8))));
  EXPECT_EQ(FieldText(main, 16), "1");
  EXPECT_EQ(FieldText(main, 18), "0");
  EXPECT_EQ(FieldText(main, 38), "00 00 00 00 00 00 00");
  // The reader made the card, blank, at that first command.
  ASSERT_EQ(CardBlock("user.card", 3, 1), blank);
  const std::string manufacturer = CardBlock("user.card", 0, 0);

  RunCardButton(main, 9, kOperationSuccessful, kSuccess);
  const std::string frame = Frame("Uw", transportKey, std::string("U\0\0\0\0f\x01\0", 8) + blank.substr(8));
  EXPECT_EQ(SpacedHex(Received()), SpacedHex(frame));
  EXPECT_EQ(SpacedHex(CardBlock("user.card", 1, 0)), SpacedHex(frame.substr(11)));
  EXPECT_EQ(CardBlock("user.card", 0, 0), manufacturer);
  EXPECT_EQ(CardBlock("user.card", 3, 1), blank);
}

}  // namespace
