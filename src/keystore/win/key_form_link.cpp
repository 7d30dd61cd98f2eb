// Reading the reader settings of a new key line from the main form, and putting a stored record
// back on it: the radios, the work mode with its view, the sector, the block and the key.
#include "keystore/win/key_form_link.h"

#include "ui/form_state.h"
#include "ui/win/main_form.h"

namespace {

// A setting's code: the checked button's place, '0' when none is.
char CodeOf(int checked) { return static_cast<char>('0' + (checked < 0 ? 0 : checked)); }

// A one-character code of a record as the index of its button, -1 when it is no digit.
int IndexOf(const char* code) {
  return code[0] >= '0' && code[0] <= '9' && code[1] == '\0' ? code[0] - '0' : -1;
}

}  // namespace

KeyLineSettings ReadFormKeySettings() {
  const FormSettings form = ReadFormSettings();
  KeyLineSettings settings;
  settings.outputInterface = CodeOf(form.radio[0]);
  settings.indicationControl = CodeOf(form.radio[1]);
  settings.standbyIndication = CodeOf(form.radio[2]);
  settings.touchButtonPoll = CodeOf(form.radio[3]);
  settings.workMode = form.workMode >= 1 && form.workMode <= 3 ? CodeOf(form.workMode) : '0';
  settings.sector = g_form.sectorNumber;
  settings.block = g_form.blockNumber;
  return settings;
}

void ApplyKeyRecord(const KeyRecord& record) {
  FormRecord form;
  const char* const codes[kReaderSettingCount] = {record.outputInterface, record.indicationControl,
                                                  record.standbyIndication, record.touchButtonPoll};
  for (int setting = 0; setting < kReaderSettingCount; ++setting) form.radio[setting] = IndexOf(codes[setting]);
  const int mode = IndexOf(record.workMode);
  form.workMode = mode <= 3 ? mode : -1;
  form.sector = KeyRecordSector(record);
  for (const char* c = record.block; *c >= '0' && *c <= '9'; ++c) form.block = form.block * 10 + (*c - '0');
  // The key as the list shows it in clear, and the bytes of that text: what the form shows is what
  // the next frame sends.
  char text[kSpacedKeyLength + 1];
  ShownKeyText(record, false, text);
  form.hasKey = true;
  KeyTextToBytes(text, form.key);
  form.keyText = text;
  form.keyDescription = record.description;
  ShowFormRecord(form);
}
