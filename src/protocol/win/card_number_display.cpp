// Shows the sector data as a card number in the converter's three read-only fields, in the
// format its radios choose.
#include "protocol/win/card_number_display.h"

#include <windows.h>

#include "base/card_number.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/win/form_controls.h"

void ShowCardNumber() {
  const CardNumberTexts texts = CardNumberFor(g_form.sectorData, g_form.converterFormat);
  SetWindowTextA(TouchMemoryEdit(), texts.touchMemory.c_str());
  SetWindowTextA(HexNumberEdit(), texts.hex.c_str());
  SetWindowTextA(DecimalNumberEdit(), texts.decimal.c_str());
}

void OnConverterFormatCommand(int radioId) {
  SetFormConverterFormat(radioId == kIdConverterFormat1 ? kFormat24Bit : kFormat40Bit);
  ShowCardNumber();
}
