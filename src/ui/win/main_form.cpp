// Builds the main form in two steps around the main window's first showing: the menu bar and the
// controls the first view shows, in table order with their initial contents; then, once the window
// is up, the controls that view hides, so that the start waits only for what it shows.
#include "ui/win/main_form.h"

#include <commctrl.h>

#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/form_views.h"
#include "ui/win/app_window.h"
#include "ui/win/form_controls.h"
#include "ui/win/form_fields.h"
#include "ui/win/form_view_switch.h"
#include "ui/win/menu_bar.h"

namespace {

// Creates a control as its row describes it; with visible false, without WS_VISIBLE.
HWND CreateControl(const FormControlRow& control, bool visible) {
  HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
  const DWORD style = visible ? control.style : control.style & ~WS_VISIBLE;
  if (control.className == kClassUpDown) {
    return CreateWindowExW(0, UPDOWN_CLASSW, L"", style, control.x, control.y, control.width, control.height,
                           g_mainWindow, id, g_instance, nullptr);
  }
  const char* caption = control.uiCaption ? UiText.*control.uiCaption : control.caption;
  return CreateWindowExA(0, control.className, caption, style, control.x, control.y, control.width, control.height,
                         g_mainWindow, id, g_instance, nullptr);
}

// The up-down places itself at the right edge of its buddy; the request for position 0 lands
// on the lower bound of the range.
void AttachUpDown(int upDownRow, int editRow, uint32_t range) {
  HWND upDown = g_formControls[upDownRow];
  SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(g_formControls[editRow]), 0);
  SendMessageW(upDown, UDM_SETRANGE, 0, static_cast<LPARAM>(range));
  SendMessageW(upDown, UDM_SETPOS32, 0, 0);
}

void SetLimitedText(HWND edit, int limit, const char* text) {
  SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  SetWindowTextA(edit, text);
}

// The initial contents of a control that depend on it (and its group) existing.
void FillRow(int row) {
  HWND control = g_formControls[row];
  switch (kFormControls[row].id) {
    case kIdCardType:
      FillComboBox(control, kCardTypeItems, kCardTypeItemCount, 0);
      break;
    case kIdWorkMode:
      FillComboBox(control, kWorkModeItems, kWorkModeItemCount, 0);
      break;
    case kIdSectorEdit:
      AttachUpDown(kRowSectorUpDown, row, kSectorRange);
      break;
    case kIdBlockEdit:
      AttachUpDown(kRowBlockUpDown, row, kBlockRange);
      break;
    case kIdKeyEdit:
      SetLimitedText(control, kKeyEditLimit, g_form.systemKeyText);
      break;
    case kIdDataEdit:
      SetLimitedText(control, kDataEditLimit, g_form.sectorDataText);
      break;
  }
  for (const RadioGroup& group : kRadioGroups) {
    if (group.lastRow == row) CheckRadioButton(g_mainWindow, group.first, group.last, group.checked);
  }
}

}  // namespace

void BuildMainForm() {
  BuildMenuBar();
  for (int row = 0; row < kFormControlCount; ++row) {
    if (!ShownInView(row, kStartView)) continue;
    g_formControls[row] = CreateControl(kFormControls[row], true);
    FillRow(row);
  }
  ApplyStartView();
}

void CompleteMainForm() {
  for (int row = 0; row < kFormControlCount; ++row) {
    if (g_formControls[row] != nullptr) continue;
    g_formControls[row] = CreateControl(kFormControls[row], false);
    // A child window is created below its siblings; it goes back to its row's place in the
    // z-order, which is also the order the controls are enumerated in (row 0 is always shown).
    SetWindowPos(g_formControls[row], g_formControls[row - 1], 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    FillRow(row);
  }
  NotifySectorData();
}

void OnUpDownDelta(WPARAM id, LPARAM notification) {
  const auto* header = reinterpret_cast<const NMHDR*>(notification);
  if (header->code != UDN_DELTAPOS) return;
  const auto* change = reinterpret_cast<const NMUPDOWN*>(notification);
  const int32_t proposed = change->iPos + change->iDelta;
  if (id == kIdSectorUpDown) SetFormSectorNumber(proposed);
  if (id == kIdBlockUpDown) SetFormBlockNumber(proposed);
}
