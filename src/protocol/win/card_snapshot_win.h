// Reads the card settings the frame builders need from the main form's controls: card type,
// work mode, the ten reader-setting radios and "Generate unique data before write".
#pragma once

#include <windows.h>

#include "protocol/card_settings.h"

// FormState's values plus the state of the controls found under `form` by their identifiers.
CardSnapshot ReadCardSnapshot(HWND form);
