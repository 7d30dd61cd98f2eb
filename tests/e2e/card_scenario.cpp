// Card scenario helpers: card files handed to the simulated reader by their Linux paths, and the
// form's lists, radios and up-downs worked through their own messages.
#include "card_scenario.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "linux_side.h"
#include "base/card_number.h"

void CardScenario::CardControl(const std::string& words) {
  ASSERT_TRUE(simreader::ControlOk("card " + words)) << words;
}

void CardScenario::Present(const std::string& card) { CardControl("present " + UnixPath(PathOf(card))); }

void CardScenario::Queue(const std::string& card) { CardControl("queue " + UnixPath(PathOf(card))); }

void CardScenario::RemoveCard() { CardControl("remove"); }

std::string CardScenario::CardBlock(const std::string& card, int sector, int block) {
  return AnswerBytes(simreader::Control("card block " + UnixPath(PathOf(card)) + " " + std::to_string(sector) +
                                        " " + std::to_string(block)));
}

std::string CardScenario::CardKey(const std::string& card, int sector) {
  return AnswerBytes(simreader::Control("card key " + UnixPath(PathOf(card)) + " " + std::to_string(sector)));
}

void CardScenario::Press(HWND main, int id) {
  ASSERT_TRUE(ui::Enabled(main));
  ASSERT_TRUE(ui::Visible(ui::Control(main, id)) && ui::Enabled(ui::Control(main, id))) << "button " << id;
  ui::PostCommand(main, id, BN_CLICKED);
}

void CardScenario::PressNow(HWND main, int id) {
  ASSERT_TRUE(ui::Enabled(main));
  ASSERT_TRUE(ui::Visible(ui::Control(main, id)) && ui::Enabled(ui::Control(main, id))) << "button " << id;
  ui::SendCommand(main, id, BN_CLICKED);
}

void CardScenario::Choose(HWND main, int comboId, int index) {
  SendMessageA(ui::Control(main, comboId), CB_SETCURSEL, index, 0);
  ui::SendCommand(main, comboId, CBN_SELCHANGE);
}

void CardScenario::StepUp(HWND main, int upDownId, int times) {
  for (int i = 0; i < times; ++i) ui::ClickUpDownArrow(ui::Control(main, upDownId), true);
}

void CardScenario::RunCardButton(HWND main, int id, const std::string& text, int kind) {
  const size_t waits = WaitsOpened();
  Press(main, id);
  EXPECT_EQ(NextWaitCaption(waits), "Present the card to the reader...");
  ExpectBox(text, kind, 30000);
  Idle(main);
}

int CardScenario::Selection(HWND main, int comboId) {
  return static_cast<int>(SendMessageA(ui::Control(main, comboId), CB_GETCURSEL, 0, 0));
}

std::string Frame(const std::string& operation, const std::string& key, std::string block) {
  if (!block.empty()) block[15] = static_cast<char>(Crc8(reinterpret_cast<const uint8_t*>(block.data()), 15));
  std::string frame = "AT+" + operation + key + block;
  frame.resize(27, '\0');
  return frame;
}

std::string UserBlock(char workModeCode, int sector, int block, const std::string& data) {
  return std::string("U\0\0\0\0", 5) + workModeCode + static_cast<char>(sector) + static_cast<char>(block) + data +
         '\0';
}

std::string Masked(const std::string& data) {
  static const uint8_t kMask[7] = {0x5A, 0x17, 0xC3, 0x9E, 0x04, 0xB2, 0x6D};
  std::string out = data;
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(~(data[i] ^ kMask[i]));
  return out;
}

std::string Bytes(const std::string& spacedHex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < spacedHex.size(); i += 3) {
    bytes.push_back(static_cast<char>(std::stoi(spacedHex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::string SpacedHex(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, text.empty() ? "%02X" : " %02X", byte);
    text += pair;
  }
  return text;
}

std::string HexDigits(const std::string& bytes) {
  std::string digits = SpacedHex(bytes);
  digits.erase(std::remove(digits.begin(), digits.end(), ' '), digits.end());
  return digits;
}
