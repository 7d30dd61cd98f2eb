// Reads the card settings the frame builders need from the main form's controls: card type,
// work mode, the ten reader-setting radios and "Generate unique data before write".
#pragma once

#include <windows.h>

#include "protocol/card_settings.h"
#include "ui/form_layout.h"

// The form's radio group of each reader setting, in block order.
inline constexpr RadioGroupIndex kSettingRadioGroups[kSettingGroupCount] = {
    kRadioOutputInterface, kRadioIndication, kRadioStandby, kRadioTouchPoll};

// FormState's values plus the state of the controls found under `form` by their identifiers.
CardSnapshot ReadCardSnapshot(HWND form);
