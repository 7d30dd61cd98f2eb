// Reading the reader settings of a new key line from the main form, and putting a stored record
// back on it: the radios, the work mode with its view, the sector, the block and the key.
#include "keystore/win/key_form_link.h"

#include <windows.h>

#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/form_state.h"
#include "ui/win/app_window.h"
#include "ui/win/form_fields.h"
#include "ui/win/form_view_switch.h"

namespace {

bool Checked(int id) {
  return IsDlgButtonChecked(g_mainWindow, id) == BST_CHECKED;
}

// The first checked radio of a group of three; '0' when none is.
char FirstChecked(const RadioGroup& group) {
  for (int id = group.first; id <= group.last; ++id) {
    if (Checked(id)) return static_cast<char>('0' + id - group.first);
  }
  return '0';
}

// '1' only when the first of a pair is unchecked and the second checked.
char SecondOfPair(const RadioGroup& group) {
  return !Checked(group.first) && Checked(group.last) ? '1' : '0';
}

void CheckRadioOfCode(const RadioGroup& group, const char* code) {
  const int index = code[0] - '0';
  if (code[1] != '\0' || index < 0 || index > group.last - group.first) return;
  CheckRadioButton(g_mainWindow, group.first, group.last, group.first + index);
}

// The reader settings' radios, whose codes count from '0' in the order of their identifiers.
const RadioGroup& kOutputInterface = kRadioGroups[kRadioOutputInterface];
const RadioGroup& kIndication = kRadioGroups[kRadioIndication];
const RadioGroup& kStandby = kRadioGroups[kRadioStandby];
const RadioGroup& kTouchPoll = kRadioGroups[kRadioTouchPoll];

}  // namespace

KeyLineSettings ReadFormKeySettings() {
  KeyLineSettings settings;
  settings.outputInterface = FirstChecked(kOutputInterface);
  settings.indicationControl = SecondOfPair(kIndication);
  settings.standbyIndication = FirstChecked(kStandby);
  settings.touchButtonPoll = SecondOfPair(kTouchPoll);
  const LRESULT mode = SendDlgItemMessageA(g_mainWindow, kIdWorkMode, CB_GETCURSEL, 0, 0);
  settings.workMode = mode >= 1 && mode <= 3 ? static_cast<char>('0' + mode) : '0';
  settings.sector = g_form.sectorNumber;
  settings.block = g_form.blockNumber;
  return settings;
}

void ApplyKeyRecord(const KeyRecord& record) {
  CheckRadioOfCode(kOutputInterface, record.outputInterface);
  CheckRadioOfCode(kIndication, record.indicationControl);
  CheckRadioOfCode(kStandby, record.standbyIndication);
  CheckRadioOfCode(kTouchPoll, record.touchButtonPoll);
  const int mode = record.workMode[0] - '0';
  if (record.workMode[1] == '\0' && mode >= 0 && mode <= 3) ShowWorkMode(mode);
  // After the view, whose field reset would otherwise undo them; kept in range as the up-downs
  // show them, so that the next frame carries what the form shows.
  ShowSectorNumber(KeyRecordSector(record));
  int block = 0;
  for (const char* c = record.block; *c >= '0' && *c <= '9'; ++c) block = block * 10 + (*c - '0');
  ShowBlockNumber(block);
  // The key as the list shows it in clear, and the bytes of that text: what the form shows is
  // what the next frame sends.
  char text[kSpacedKeyLength + 1];
  ShownKeyText(record, false, text);
  uint8_t key[6];
  KeyTextToBytes(text, key);
  ShowKeyRecordKey(text, key, record.description);
}
