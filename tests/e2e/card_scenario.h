// The scenario fixture of card programming: the reader plugged in on COM5 and connected, virtual
// cards in the scenario's directory, and the form read and set as a user sees and does it.
#pragma once

#include <cstdint>
#include <string>

#include "form_expectations.h"
#include "reader_scenario.h"

inline constexpr char kOperationSuccessful[] = "The operation was successful!";
inline const std::string kZeroKey(6, '\0');

class CardScenario : public ReaderScenario {
 protected:
  // Cards are files in the scenario's directory, made blank by the reader when first presented.
  void Present(const std::string& card);
  void Queue(const std::string& card);
  void RemoveCard();
  void CardControl(const std::string& words);
  // The 16 bytes of a block, or the key A of a sector, of a card file, as the reader sees them.
  std::string CardBlock(const std::string& card, int sector, int block);
  std::string CardKey(const std::string& card, int sector);

  // As a user: presses a button, chooses in a list or clicks an up-down arrow.
  void Press(HWND main, int id);
  // Presses a button whose work is done at once, with no box or wait, and returns when it is done.
  void PressNow(HWND main, int id);
  void Choose(HWND main, int comboId, int index);
  void StepUp(HWND main, int upDownId, int times);
  // Presses the button and expects the card wait, then the message that ends it.
  void RunCardButton(HWND main, int id, const std::string& text = kOperationSuccessful, int kind = kMessageSuccess);

  bool Checked(HWND main, int id) { return IsChecked(ui::Control(main, id)); }
  int Selection(HWND main, int comboId);
  std::string FieldText(HWND main, int id) { return ui::Text(ui::Control(main, id)); }
};

// The bytes of a card frame: "AT+", the operation, the key and the block with its CRC in byte 15.
std::string Frame(const std::string& operation, const std::string& key, std::string block);
// The block of a user card: its mark, the work mode's code, sector, block and the seven data bytes.
std::string UserBlock(char workModeCode, int sector, int block, const std::string& data = std::string(7, '\0'));
// Sector data as the decrypting work mode stores it, and stored data back in plain: the same mask.
std::string Masked(const std::string& data);
// Bytes from spaced hexadecimal text, "11 22 33", and back.
std::string Bytes(const std::string& spacedHex);
std::string SpacedHex(const std::string& bytes);
// Hexadecimal digits without spaces, as usersData.data keeps its codes.
std::string HexDigits(const std::string& bytes);
