// Scenarios of the hex entry fields typed into with the real keyboard and mouse on the X display,
// "Show Key", the card number converter with its two formats, and the box that makes every
// user-card write generate its own data.
#include <string>
#include <vector>

#include "form_expectations.h"
#include "base/card_number.h"
#include "harness.h"
#include "ui/form_layout.h"
#include "x_input.h"

namespace {

int Caret(HWND edit) { return LOWORD(SendMessageA(edit, EM_GETSEL, 0, 0)); }

// The three read-only fields of the converter, which have no identifier; none when the form is not
// complete.
std::vector<HWND> ConverterFields(HWND main) {
  const std::vector<HWND> children = FormChildren(main);
  if (children.size() != static_cast<size_t>(kExpectedControlCount)) return {};
  return {children[kRowTouchMemoryEdit], children[kRowHexEdit], children[kRowDecimalEdit]};
}

std::vector<std::string> Texts(const std::vector<HWND>& windows) {
  std::vector<std::string> texts;
  for (HWND w : windows) texts.push_back(ui::Text(w));
  return texts;
}

std::vector<std::string> Expected(const char* touchMemory, const char* hex, const char* decimal) {
  return {touchMemory, hex, decimal};
}

class HexFieldScenario : public KeyloomScenario {
 protected:
  void SetUp() override {
    KeyloomScenario::SetUp();
    ASSERT_TRUE(ui::XInputAvailable()) << "no X input server (KEYLOOM_XINPUT)";
  }

  // Clicks into an edit and waits until it has the focus and shows its bare digits.
  void Enter(HWND edit, const std::string& bare) {
    ASSERT_TRUE(ui::ClickWindow(edit));
    ASSERT_TRUE(Eventually([&] { return FocusOf(edit) == edit && ui::Text(edit) == bare; }))
        << "focus " << FocusOf(edit) << ", text \"" << ui::Text(edit) << "\"";
  }
  // Enters the edit and erases its digits with the keyboard.
  void EnterAndErase(HWND edit, const std::string& bare) {
    Enter(edit, bare);
    ASSERT_TRUE(ui::XDoTool({"key", "End", "key", "--repeat", std::to_string(bare.size()), "BackSpace"}));
    ExpectText(edit, "");
  }
  // Leaves a field by clicking into another control that takes the focus.
  void LeaveFor(HWND other) {
    ASSERT_TRUE(ui::ClickWindow(other));
    ASSERT_TRUE(Eventually([&] { return FocusOf(other) == other; }));
  }
  void ExpectText(HWND edit, const std::string& text) {
    EXPECT_TRUE(Eventually([&] { return ui::Text(edit) == text; })) << "shows \"" << ui::Text(edit) << "\"";
  }
};

TEST_F(HexFieldScenario, TypingIntoTheKeyFieldFiltersPadsAndCommits) {
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  ChooseView(main, kMasterCard, kModeSectorData);
  HWND key = ui::Control(main, kIdKeyEdit);
  HWND showKey = ui::Control(main, kIdShowKey);
  HWND sector = ui::Control(main, kIdSectorEdit);

  // The key starts masked; "Show Key" reveals it (and masks it again).
  EXPECT_EQ(SendMessageA(key, EM_GETPASSWORDCHAR, 0, 0), '*');
  ASSERT_TRUE(ui::ClickWindow(showKey));
  ASSERT_TRUE(Eventually([&] { return IsChecked(showKey); }));
  EXPECT_EQ(SendMessageA(key, EM_GETPASSWORDCHAR, 0, 0), 0);

  // Entering shows the bare digits; leaving unchanged gives the spaced zeros back.
  Enter(key, "000000000000");
  LeaveFor(sector);
  ExpectText(key, "00 00 00 00 00 00");

  // Three digits, then rejected characters typed in the middle of them; short text is padded.
  EnterAndErase(key, "000000000000");
  ASSERT_TRUE(ui::TypeText("1A2"));
  ExpectText(key, "1A2");
  ASSERT_TRUE(ui::XDoTool({"key", "Home", "key", "Right"}));
  for (const char* rejected : {"G", " ", "-"}) {
    SCOPED_TRACE(std::string("typed \"") + rejected + "\"");
    ASSERT_TRUE(ui::TypeText(rejected));
    ui::Pause(150);
    EXPECT_EQ(ui::Text(key), "1A2");
    EXPECT_EQ(Caret(key), 1);
  }
  EXPECT_EQ(FocusOf(key), key);
  LeaveFor(sector);
  ExpectText(key, "1A 2F FF FF FF FF");

  // An emptied field commits all F.
  EnterAndErase(key, "1A2FFFFFFFFF");
  LeaveFor(sector);
  ExpectText(key, "FF FF FF FF FF FF");

  // Lower case shows as capitals; the twelfth digit sends the focus to the main window at once.
  EnterAndErase(key, "FFFFFFFFFFFF");
  ASSERT_TRUE(ui::TypeText("a"));
  ExpectText(key, "A");
  ASSERT_TRUE(ui::TypeText("bcdef01234"));
  ExpectText(key, "ABCDEF01234");
  EXPECT_EQ(FocusOf(key), key);
  ASSERT_TRUE(ui::TypeText("5"));
  EXPECT_TRUE(Eventually([&] { return FocusOf(main) == main; })) << "the focus stayed in the key field";
  ExpectText(key, "AB CD EF 01 23 45");

  ASSERT_TRUE(ui::ClickWindow(showKey));
  ASSERT_TRUE(Eventually([&] { return !IsChecked(showKey); }));
  EXPECT_EQ(SendMessageA(key, EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(HexFieldScenario, TheConverterFollowsItsFormatAndTheCommittedData) {
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  const std::vector<HWND> converter = ConverterFields(main);
  ASSERT_EQ(converter.size(), 3u);
  HWND data = ui::Control(main, kIdDataEdit);
  HWND format0 = ui::Control(main, kIdConverterFormat0), format1 = ui::Control(main, kIdConverterFormat1);

  EXPECT_EQ(Texts(converter), Expected("CD00554433221101", "5544332211", "0366216421905"));
  ASSERT_TRUE(ui::ClickWindow(format1));
  EXPECT_TRUE(Eventually([&] { return Texts(converter) == Expected("EA00000033221101", "332211", "03351057"); }))
      << Texts(converter)[0];
  ASSERT_TRUE(ui::ClickWindow(format0));
  EXPECT_TRUE(Eventually([&] { return Texts(converter)[1] == "5544332211"; }));

  // The fourteenth digit commits at once and the converter shows the new number.
  EnterAndErase(data, "11223344556677");
  ASSERT_TRUE(ui::TypeText("0102030405AABB"));
  EXPECT_TRUE(Eventually([&] { return FocusOf(main) == main; })) << "the focus stayed in the data field";
  ExpectText(data, "01 02 03 04 05 AA BB");
  const uint8_t typed[7] = {0x01, 0x02, 0x03, 0x04, 0x05, 0xAA, 0xBB};
  const CardNumberTexts number = CardNumberFor(typed, 0);
  EXPECT_EQ(Texts(converter), Expected(number.touchMemory.c_str(), "0504030201", "0021542142465"));

  // An emptied data field commits seven FF bytes, in the 24-bit format too.
  ASSERT_TRUE(ui::ClickWindow(format1));
  EnterAndErase(data, "0102030405AABB");
  LeaveFor(format1);
  ExpectText(data, "FF FF FF FF FF FF FF");
  EXPECT_EQ(Texts(converter), Expected("49000000FFFFFF01", "FFFFFF", "16777215"));
}

TEST_F(HexFieldScenario, GenerateBeforeWriteLocksTheDataAndOffersCyclicWriting) {
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  HWND box = ui::Control(main, kIdGenerateBeforeWrite);
  std::vector<HWND> followers = ConverterFields(main);
  for (int id : {kIdDataEdit, kIdGenerateUnique, kIdConverterFormat0, kIdConverterFormat1}) {
    followers.push_back(ui::Control(main, id));
  }
  ASSERT_EQ(followers.size(), 7u);
  HWND writeCyclically = ui::Control(main, kIdWriteCyclically);

  for (bool checked : {true, false}) {
    SCOPED_TRACE(checked ? "checking" : "unchecking");
    ASSERT_TRUE(ui::ClickWindow(box));
    ASSERT_TRUE(Eventually([&] { return IsChecked(box) == checked; }));
    EXPECT_EQ(ui::Enabled(writeCyclically), checked);
    for (HWND follower : followers) EXPECT_EQ(ui::Enabled(follower), !checked) << ui::Text(follower);
  }
}

}  // namespace
