// Applies the control-by-view table to the form's controls, with the field resets of view codes
// 0 and 2, and routes the two view combo boxes here.
#include "ui/win/form_view_switch.h"

#include <commctrl.h>

#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/form_views.h"
#include "ui/win/app_window.h"
#include "ui/win/form_controls.h"

namespace {

int ListSelection(int listId) {
  return static_cast<int>(SendDlgItemMessageA(g_mainWindow, listId, CB_GETCURSEL, 0, 0));
}

bool GenerateBeforeWriteChecked() {
  return IsDlgButtonChecked(g_mainWindow, kIdGenerateBeforeWrite) == BST_CHECKED;
}

void ShowFieldReset(FieldReset reset) {
  if (reset == kResetNothing) return;
  ResetFormFields(reset);
  if (reset == kResetMasterId) {
    SendMessageW(g_formControls[kRowSectorUpDown], UDM_SETPOS32, 0, g_form.sectorNumber);
  }
  SendMessageW(g_formControls[kRowBlockUpDown], UDM_SETPOS32, 0, g_form.blockNumber);
  if (reset != kResetMasterId) return;
  HWND keyEdit = g_formControls[kRowKeyEdit];
  SetWindowTextA(keyEdit, g_form.systemKeyText);
  if (IsDlgButtonChecked(g_mainWindow, kIdShowKey) == BST_CHECKED) {
    CheckDlgButton(g_mainWindow, kIdShowKey, BST_UNCHECKED);
    SendMessageA(keyEdit, EM_SETPASSWORDCHAR, '*', 0);
    InvalidateRect(keyEdit, nullptr, FALSE);
  }
}

void SetControlState(HWND control, ControlState state, bool box24Checked) {
  if (state == kStateHidden) {
    ShowWindow(control, SW_HIDE);
    return;
  }
  ShowWindow(control, SW_SHOW);
  switch (state) {
    case kStateEnabled:
      EnableWindow(control, TRUE);
      break;
    case kStateDisabled:
      EnableWindow(control, FALSE);
      break;
    case kStateEnabledIfBox24:
      EnableWindow(control, box24Checked);
      break;
    case kStateEnabledUnlessBox24:
      EnableWindow(control, !box24Checked);
      break;
    case kStateDisabledUnchecked:
      EnableWindow(control, FALSE);
      SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
      break;
    default:
      break;
  }
}

// Controls not created yet (those the start view hides, while the form is first built) are skipped.
void ApplyViewStates(FormView view) {
  const bool box24Checked = GenerateBeforeWriteChecked();
  for (const ViewStateRow& entry : kViewStates) {
    HWND control = g_formControls[entry.row];
    if (control != nullptr) SetControlState(control, StateInView(entry, view), box24Checked);
  }
}

}  // namespace

void ApplyView(unsigned code) {
  FormView view;
  if (!ViewOfCode(code, &view)) return;
  ShowFieldReset(FieldResetOf(code));
  ApplyViewStates(view);
}

void ApplyStartView() { ApplyViewStates(kStartView); }

void OnViewComboCommand(WPARAM wParam) {
  if (HIWORD(wParam) != CBN_SELCHANGE) return;
  ApplyView(ViewCodeOf(ListSelection(kIdCardType), ListSelection(kIdWorkMode)));
}

void ShowWorkMode(int workMode) {
  ApplyView(ViewCodeOf(ListSelection(kIdCardType), workMode));
  SendDlgItemMessageA(g_mainWindow, kIdWorkMode, CB_SETCURSEL, static_cast<WPARAM>(workMode), 0);
}

void ApplyGenerateBeforeWriteRule() {
  const bool box24Checked = GenerateBeforeWriteChecked();
  for (const ViewStateRow& entry : kViewStates) {
    const ControlState state = StateInView(entry, kViewUserData);
    if (FollowsBox24(state)) SetControlState(g_formControls[entry.row], state, box24Checked);
  }
}
