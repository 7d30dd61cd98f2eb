// Between the main form and the key list: the settings a new key line records, and putting a
// stored record back on the form.
#pragma once

#include "keystore/key_line.h"

// The radios, the work mode and FormState's sector and block as they are now.
KeyLineSettings ReadFormKeySettings();
// Puts a record on the main form: radios, view and work mode, sector,
// block and system key. A code outside its values leaves its setting unchanged.
void ApplyKeyRecord(const KeyRecord& record);
