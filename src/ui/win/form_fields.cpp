// Puts new key, data, sector and block values into FormState and into the controls that show them,
// so that what the form shows is always what the next card frame or key line carries.
#include "ui/win/form_fields.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/form_state.h"
#include "ui/win/app_window.h"
#include "ui/win/form_controls.h"
#include "ui/win/form_view_switch.h"

namespace {

void (*g_sectorDataListener)() = nullptr;

}  // namespace

void SetSectorDataListener(void (*changed)()) { g_sectorDataListener = changed; }

void NotifySectorData() {
  if (g_sectorDataListener) g_sectorDataListener();
}

void ShowSectorNumber(int32_t number) {
  SetFormSectorNumber(number);
  SendMessageW(g_formControls[kRowSectorUpDown], UDM_SETPOS32, 0, g_form.sectorNumber);
}

void ShowBlockNumber(int32_t number) {
  SetFormBlockNumber(number);
  SendMessageW(g_formControls[kRowBlockUpDown], UDM_SETPOS32, 0, g_form.blockNumber);
}

void ShowSystemKey(const uint8_t key[6]) {
  SetFormSystemKey(key);
  SetWindowTextA(g_formControls[kRowKeyEdit], g_form.systemKeyText);
}

void ShowKeyRecordKey(const char* text, const uint8_t key[6], const char* description) {
  SetFormKeyRecord(text, key, description);
  SetWindowTextA(g_formControls[kRowKeyEdit], g_form.systemKeyText);
}

void ShowSectorData(const uint8_t data[7]) {
  SetFormSectorData(data);
  SetWindowTextA(g_formControls[kRowDataEdit], g_form.sectorDataText);
  NotifySectorData();
}

namespace {

constexpr RadioGroupIndex kReaderSettingGroups[kReaderSettingCount] = {kRadioOutputInterface, kRadioIndication,
                                                                     kRadioStandby, kRadioTouchPoll};

HWND Control(int id) { return g_formControls[FormRowOfId(id)]; }

bool Checked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

int Selection(int id) { return static_cast<int>(SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }

}  // namespace

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
