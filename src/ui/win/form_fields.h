// FormState's values put on the main form: each call changes FormState through its owner and
// shows the new value in the control that holds it; new sector data also reaches its listener.
#pragma once

#include <cstdint>

#include "ui/form_state.h"

// What follows every change of the sector data (the converter display); the program sets it at start.
void SetSectorDataListener(void (*changed)());
// Tells the listener that the sector data is new: after the data field's commit and once the form
// is complete.
void NotifySectorData();

// The sector and block up-downs (15, 17), kept in range.
void ShowSectorNumber(int32_t number);
void ShowBlockNumber(int32_t number);
// The key edit (37): the bytes as spaced pairs, or a key-list record's key as its line holds it.
void ShowSystemKey(const uint8_t key[6]);
void ShowKeyRecordKey(const char* text, const uint8_t key[6], const char* description);
// The data edit (38) and the listener.
void ShowSectorData(const uint8_t data[7]);

// The form's settings as its controls show them now.
FormSettings ReadFormSettings();
// Puts a record on the form: the reader settings, then the work mode with its view (whose field
// reset comes first), then sector, block, and key or data.
void ShowFormRecord(const FormRecord& record);
