// Puts new key, data, sector and block values into FormState and into the controls that show them,
// so that what the form shows is always what the next card frame or key line carries.
#include "ui/win/form_fields.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/form_state.h"
#include "ui/win/form_controls.h"

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
