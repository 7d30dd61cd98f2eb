// The " Custom Card Converter " group: the three number fields and the two format radios.
// ShowCardNumber fills the fields from the sector data in the format the radios choose.
#pragma once

// Fills the three converter fields from FormState's sector data and converter format.
void ShowCardNumber();
// Commands 35 and 36: the converter format radios.
void OnConverterFormatCommand(int radioId);
