// The tables of reader-setting codes and the look-ups both ways between codes and the form's
// radio buttons and work-mode list.
#include "protocol/card_settings.h"

const SettingGroup kSettingGroups[kSettingGroupCount] = {
    {3},  // Touch Memory d, Wiegand 26 e, Wiegand 44 f
    {2},  // Direct d, Inverse e
    {3},  // Dynamic d, Static e, Off f
    {2},  // On d, Off e
};

const WorkModeCode kWorkModes[kWorkModeCount] = {
    {'d', false, false},  // Send card ID
    {'f', true, false},   // Send sector data after logged in
    {'e', false, false},  // Send card ID after logged in
    {'g', true, true},    // Send sector data after logged in and decrypt
};

uint8_t RadioGroupCode(int checkedIndex) {
  return static_cast<uint8_t>(kFirstSettingCode + (checkedIndex < 0 ? 0 : checkedIndex));
}

int RadioIndexOfCode(uint8_t code, int buttonCount) {
  int index = code - kFirstSettingCode;
  return (index >= 0 && index < buttonCount) ? index : -1;
}

int WorkModeIndexOfCode(uint8_t code) {
  for (int i = 0; i < kWorkModeCount; ++i) {
    if (kWorkModes[i].code == code) return i;
  }
  return -1;
}
