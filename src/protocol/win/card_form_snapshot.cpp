// Reads the controls that a card frame depends on into a CardSnapshot, so the frames themselves
// are built by the portable core.
#include "protocol/win/card_form_snapshot.h"

#include <windows.h>

#include <cstring>

#include "app/win/app.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"

namespace {

int Selection(int comboId) {
  return static_cast<int>(SendDlgItemMessageA(g_mainWindow, comboId, CB_GETCURSEL, 0, 0));
}

bool Checked(int id) { return IsDlgButtonChecked(g_mainWindow, id) == BST_CHECKED; }

// The first checked button of a group, or -1 when none is.
int CheckedButton(const SettingGroup& group) {
  for (int i = 0; i < group.buttonCount; ++i) {
    if (Checked(group.firstControl + i)) return i;
  }
  return -1;
}

}  // namespace

CardSnapshot ReadCardSnapshot() {
  CardSnapshot form;
  form.cardType = Selection(kIdCardType);
  form.workMode = Selection(kIdWorkMode);
  for (int group = 0; group < kSettingGroupCount; ++group) {
    form.radio[group] = CheckedButton(kSettingGroups[group]);
  }
  form.generateBeforeWrite = Checked(kIdGenerateBeforeWrite);
  form.sectorNumber = g_form.sectorNumber;
  form.blockNumber = g_form.blockNumber;
  std::memcpy(form.systemKey, g_form.systemKey, sizeof form.systemKey);
  std::memcpy(form.sectorData, g_form.sectorData, sizeof form.sectorData);
  return form;
}
