// Puts generated keys and sector data on the form, and switches the controls that follow
// "Generate unique data before write" when the box is clicked.
#include "protocol/win/form_generator_commands.h"

#include <windows.h>

#include "app/win/app.h"
#include "protocol/hex_pairs_text.h"
#include "protocol/win/card_number_display.h"
#include "protocol/win/form_generators.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/win/form_view_switch.h"

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

void OnGenerateBeforeWriteCommand() {
  const bool checked = IsDlgButtonChecked(g_mainWindow, kIdGenerateBeforeWrite) == BST_CHECKED;
  CheckDlgButton(g_mainWindow, kIdGenerateBeforeWrite, checked ? BST_UNCHECKED : BST_CHECKED);
  ApplyGenerateBeforeWriteRule();
}
