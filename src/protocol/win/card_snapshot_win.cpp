// Takes the card type and work mode from their lists' selections and each radio group's first
// checked button, looking the controls up by identifier anywhere under the form window.
#include "protocol/win/card_snapshot_win.h"

#include "ui/control_ids.h"

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
  CardSnapshot snapshot = SnapshotOfFormState(g_form);
  snapshot.cardType = ListSelection(form, kIdCardType);
  snapshot.workMode = ListSelection(form, kIdWorkMode);
  for (int group = 0; group < kSettingGroupCount; ++group) {
    for (int i = 0; i < kSettingGroups[group].buttonCount; ++i) {
      if (IsChecked(form, kSettingGroups[group].firstControl + i)) {
        snapshot.radio[group] = i;
        break;
      }
    }
  }
  snapshot.generateBeforeWrite = IsChecked(form, kIdGenerateBeforeWrite);
  return snapshot;
}
