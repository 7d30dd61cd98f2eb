// FormState: the values the main form stands for, from which card frames and key lines are built.
// Card type, work mode and the reader-setting radios are not copied here: they are read from their controls.
#pragma once

#include <cstdint>

struct FormState {
  int32_t sectorNumber = 1;  // 1..15
  int32_t blockNumber = 0;   // 0..2
  uint8_t systemKey[6] = {};
  char systemKeyText[32] = "00 00 00 00 00 00";
  uint8_t sectorData[7] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  char sectorDataText[32] = "11 22 33 44 55 66 77";
  bool keyEditActive = false;
  bool dataEditActive = false;
  int converterFormat = 0;  // 0 Touch Memory / Wiegand 44, 1 Wiegand 26
};

extern FormState g_form;
