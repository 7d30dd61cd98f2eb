// The main form's controls, created from the form table in two steps around the main window's first
// showing, and everything done to them: views, relabelling, reading, records, port list, version.
#include "ui/win/main_form.h"

#include <commctrl.h>

#include "base/card_number.h"
#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/ui_text.h"
#include "ui/win/hex_fields.h"
#include "ui/win/menu_bar.h"

HINSTANCE g_instance = nullptr;
HWND g_mainWindow = nullptr;

namespace {

// One handle per row of the form table, filled as the rows are created; they live as long as the
// main window.
HWND g_controls[kFormControlCount] = {};

HWND Control(int id) { return GetDlgItem(g_mainWindow, id); }

bool Checked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

int Selection(int id) { return static_cast<int>(SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }

// Empties a combo box, adds the items in the active language and selects one (or none with -1).
void FillComboBox(HWND combo, const UiTextEntry* items, int count, int selection) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText.*items[i]));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

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
  HWND upDown = g_controls[upDownRow];
  SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(g_controls[editRow]), 0);
  SendMessageW(upDown, UDM_SETRANGE, 0, static_cast<LPARAM>(range));
  SendMessageW(upDown, UDM_SETPOS32, 0, 0);
}

void SetLimitedText(HWND edit, int limit, const char* text) {
  SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  SetWindowTextA(edit, text);
}

// The initial contents of a control that depend on it (and its group) existing.
void FillRow(int row) {
  HWND control = g_controls[row];
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
    if (FormRowOfId(group.last) == row) CheckRadioButton(g_mainWindow, group.first, group.last, group.checked);
  }
}

void ShowSectorNumber(int32_t number) {
  SetFormSectorNumber(number);
  SendMessageW(g_controls[kRowSectorUpDown], UDM_SETPOS32, 0, g_form.sectorNumber);
}

void ShowBlockNumber(int32_t number) {
  SetFormBlockNumber(number);
  SendMessageW(g_controls[kRowBlockUpDown], UDM_SETPOS32, 0, g_form.blockNumber);
}

void ShowKeyRecordKey(const char* text, const uint8_t key[6], const char* description) {
  SetFormKeyRecord(text, key, description);
  SetWindowTextA(g_controls[kRowKeyEdit], g_form.systemKeyText);
}

void ShowFieldReset(FieldReset reset) {
  if (reset == kResetNothing) return;
  ResetFormFields(reset);
  if (reset == kResetMasterId) SendMessageW(g_controls[kRowSectorUpDown], UDM_SETPOS32, 0, g_form.sectorNumber);
  SendMessageW(g_controls[kRowBlockUpDown], UDM_SETPOS32, 0, g_form.blockNumber);
  if (reset != kResetMasterId) return;
  HWND keyEdit = g_controls[kRowKeyEdit];
  SetWindowTextA(keyEdit, g_form.systemKeyText);
  if (Checked(kIdShowKey)) {
    SendMessageA(Control(kIdShowKey), BM_SETCHECK, BST_UNCHECKED, 0);
    MaskKeyEdit(keyEdit, true);
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
  const bool box24Checked = Control(kIdGenerateBeforeWrite) != nullptr && Checked(kIdGenerateBeforeWrite);
  for (const ViewStateRow& entry : kViewStates) {
    HWND control = g_controls[entry.row];
    if (control != nullptr) SetControlState(control, StateInView(entry, view), box24Checked);
  }
}

// Resets the fields of a view code and applies its view; codes without a view change nothing.
void ApplyView(unsigned code) {
  FormView view;
  if (!ViewOfCode(code, &view)) return;
  ShowFieldReset(FieldResetOf(code));
  ApplyViewStates(view);
}

// A work mode put on the form from a card read or a stored key: the view of the card type shown
// with that mode (its field reset included), then the mode selected in its list.
void ShowWorkMode(int workMode) {
  ApplyView(ViewCodeOf(Selection(kIdCardType), workMode));
  SendMessageA(Control(kIdWorkMode), CB_SETCURSEL, static_cast<WPARAM>(workMode), 0);
}

// The buttons and check boxes with UiText captions, in the order they are relabelled.
constexpr int kCaptionedButtons[] = {kIdSearch,         kIdWrite,          kIdRead,         kIdClear,
                                     kIdWriteCyclically, kIdClearCyclically, kIdGenerateRandom, kIdAddToList,
                                     kIdShowList,       kIdGenerateUnique,  kIdShowKey,      kIdGenerateBeforeWrite};

void RelabelRow(int row) { SetWindowTextA(g_controls[row], UiText.*kFormControls[row].uiCaption); }

// Relabels the rows of one class and style that carry a UiText caption, in table order.
void RelabelRowsOf(const char* className, uint32_t style) {
  for (int row = 0; row < kFormControlCount; ++row) {
    const FormControlRow& control = kFormControls[row];
    if (control.uiCaption && control.className == className && control.style == style) RelabelRow(row);
  }
}

void RefillComboBox(int id, const UiTextEntry* items, int count) {
  FillComboBox(Control(id), items, count, Selection(id));
}

}  // namespace

void BuildMainForm() {
  BuildMenuBar();
  for (int row = 0; row < kFormControlCount; ++row) {
    if (!ShownInView(row, kStartView)) continue;
    g_controls[row] = CreateControl(kFormControls[row], true);
    FillRow(row);
  }
  ApplyViewStates(kStartView);
}

void CompleteMainForm() {
  for (int row = 0; row < kFormControlCount; ++row) {
    if (g_controls[row] != nullptr) continue;
    g_controls[row] = CreateControl(kFormControls[row], false);
    // A child window is created below its siblings; it goes back to its row's place in the
    // z-order, which is also the order the controls are enumerated in (row 0 is always shown).
    SetWindowPos(g_controls[row], g_controls[row - 1], 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    FillRow(row);
  }
  ShowCardNumber();
}

void RelabelForm() {
  SetWindowTextA(g_mainWindow, UiText.windowTitle);
  RelabelRowsOf(kClassButton, kStyleGroupBox);
  RelabelRowsOf(kClassStatic, kStyleStatic);
  RefillComboBox(kIdCardType, kCardTypeItems, kCardTypeItemCount);
  RefillComboBox(kIdWorkMode, kWorkModeItems, kWorkModeItemCount);
  for (int id : kCaptionedButtons) RelabelRow(FormRowOfId(id));
  RelabelRowsOf(kClassButton, kStyleRadio);
}

void OnUpDownDelta(WPARAM id, LPARAM notification) {
  const auto* header = reinterpret_cast<const NMHDR*>(notification);
  if (header->code != UDN_DELTAPOS) return;
  const auto* change = reinterpret_cast<const NMUPDOWN*>(notification);
  const int32_t proposed = change->iPos + change->iDelta;
  if (id == kIdSectorUpDown) SetFormSectorNumber(proposed);
  if (id == kIdBlockUpDown) SetFormBlockNumber(proposed);
}

void OnViewComboCommand(WPARAM wParam) {
  if (HIWORD(wParam) != CBN_SELCHANGE) return;
  ApplyView(ViewCodeOf(Selection(kIdCardType), Selection(kIdWorkMode)));
}

void OnGenerateBeforeWriteCommand() {
  SendMessageA(Control(kIdGenerateBeforeWrite), BM_SETCHECK, Checked(kIdGenerateBeforeWrite) ? BST_UNCHECKED : BST_CHECKED,
               0);
  const bool box24Checked = Checked(kIdGenerateBeforeWrite);
  for (const ViewStateRow& entry : kViewStates) {
    const ControlState state = StateInView(entry, kViewUserData);
    if (FollowsBox24(state)) SetControlState(g_controls[entry.row], state, box24Checked);
  }
}

void OnConverterFormatCommand(int radioId) {
  SetFormConverterFormat(radioId == kIdConverterFormat1 ? kFormat24Bit : kFormat40Bit);
  ShowCardNumber();
}

FormSettings ReadFormSettings() {
  FormSettings settings;
  settings.cardType = Selection(kIdCardType);
  settings.workMode = Selection(kIdWorkMode);
  for (int setting = 0; setting < kReaderSettingCount; ++setting) {
    const RadioGroup& group = kRadioGroups[kReaderSettingGroups[setting]];
    for (int id = group.first; id <= group.last && settings.radio[setting] < 0; ++id) {
      if (Checked(id)) settings.radio[setting] = id - group.first;
    }
  }
  settings.showKey = Checked(kIdShowKey);
  settings.generateBeforeWrite = Checked(kIdGenerateBeforeWrite);
  return settings;
}

void ShowFormRecord(const FormRecord& record) {
  for (int setting = 0; setting < kReaderSettingCount; ++setting) {
    const RadioGroup& group = kRadioGroups[kReaderSettingGroups[setting]];
    if (record.radio[setting] < 0 || record.radio[setting] > group.last - group.first) continue;
    CheckRadioButton(g_mainWindow, group.first, group.last, group.first + record.radio[setting]);
  }
  if (record.workMode >= 0) ShowWorkMode(record.workMode);
  ShowSectorNumber(record.sector);
  ShowBlockNumber(record.block);
  if (record.hasKey && record.keyText != nullptr) {
    ShowKeyRecordKey(record.keyText, record.key, record.keyDescription != nullptr ? record.keyDescription : "");
  } else if (record.hasKey) {
    ShowSystemKey(record.key);
  }
  if (record.hasData) ShowSectorData(record.data);
}

void ShowSystemKey(const uint8_t key[6]) {
  SetFormSystemKey(key);
  SetWindowTextA(g_controls[kRowKeyEdit], g_form.systemKeyText);
}

void ShowSectorData(const uint8_t data[7]) {
  SetFormSectorData(data);
  SetWindowTextA(g_controls[kRowDataEdit], g_form.sectorDataText);
  ShowCardNumber();
}

void ShowCardNumber() {
  const CardNumberTexts texts = CardNumberFor(g_form.sectorData, g_form.converterFormat);
  SetWindowTextA(g_controls[kRowTouchMemoryEdit], texts.touchMemory.c_str());
  SetWindowTextA(g_controls[kRowHexEdit], texts.hex.c_str());
  SetWindowTextA(g_controls[kRowDecimalEdit], texts.decimal.c_str());
}

void ShowPortList(const std::vector<std::string>& ports) {
  HWND list = Control(kIdPortList);
  EnableWindow(list, TRUE);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  if (ports.empty()) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
  for (const std::string& port : ports) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port.c_str()));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}

void SelectListedPort(int index) { SendMessageA(Control(kIdPortList), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::string ChosenPort() {
  HWND list = Control(kIdPortList);
  const int index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  const LRESULT length = index < 0 ? CB_ERR : SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return std::string();
  std::string name(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
  name.resize(static_cast<size_t>(length));
  return name;
}

void EnablePortList(bool enabled) { EnableWindow(Control(kIdPortList), enabled); }

bool PortListDroppedDown() { return SendMessageA(Control(kIdPortList), CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

void ShowVersion(const char* version) { SetWindowTextA(g_controls[kRowVersionValue], version); }
