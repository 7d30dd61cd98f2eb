// Takes the card type and work mode from their lists' selections and each radio group's first
// checked button, looking the controls up by identifier anywhere under the form window.
#include "protocol/win/card_snapshot_win.h"

#include <cstring>

#include "ui/control_ids.h"
#include "ui/form_state.h"

namespace {

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

// The control may sit directly on the form or inside a group window.
HWND FindControl(HWND form, int id) {
  ControlSearch search = {id, nullptr};
  EnumChildWindows(form, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int ListSelection(HWND form, int id) {
  HWND list = FindControl(form, id);
  return list ? static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)) : -1;
}

bool IsChecked(HWND form, int id) {
  HWND button = FindControl(form, id);
  return button && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

CardSnapshot ReadCardSnapshot(HWND form) {
  CardSnapshot snapshot;
  snapshot.sectorNumber = g_form.sectorNumber;
  snapshot.blockNumber = g_form.blockNumber;
  std::memcpy(snapshot.systemKey, g_form.systemKey, sizeof snapshot.systemKey);
  std::memcpy(snapshot.sectorData, g_form.sectorData, sizeof snapshot.sectorData);
  snapshot.cardType = ListSelection(form, kIdCardType);
  snapshot.workMode = ListSelection(form, kIdWorkMode);
  for (int group = 0; group < kSettingGroupCount; ++group) {
    const RadioGroup& buttons = kRadioGroups[kSettingRadioGroups[group]];
    for (int id = buttons.first; id <= buttons.last; ++id) {
      if (IsChecked(form, id)) {
        snapshot.radio[group] = id - buttons.first;
        break;
      }
    }
  }
  snapshot.generateBeforeWrite = IsChecked(form, kIdGenerateBeforeWrite);
  return snapshot;
}
