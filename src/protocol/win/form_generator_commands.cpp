// Puts generated keys and sector data on the form: into FormState, the key or data field, and
// for data the converter display.
#include "protocol/win/form_generator_commands.h"

#include <windows.h>

#include "protocol/hex_pairs_text.h"
#include "protocol/win/card_number_display.h"
#include "protocol/win/form_generators.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/win/app_window.h"

void OnGenerateRandomCommand() {
  GenerateRandomKey(g_form.systemKey);
  HexPairsText(g_form.systemKey, 6, g_form.systemKeyText);
  SetDlgItemTextA(g_mainWindow, kIdKeyEdit, g_form.systemKeyText);
}

void OnGenerateUniqueCommand() { FillUniqueSectorData(); }

bool FillUniqueSectorData() {
  if (!GenerateUniqueSectorData(g_form.sectorData)) return false;
  HexPairsText(g_form.sectorData, 7, g_form.sectorDataText);
  SetDlgItemTextA(g_mainWindow, kIdDataEdit, g_form.sectorDataText);
  ShowCardNumber();
  return true;
}
