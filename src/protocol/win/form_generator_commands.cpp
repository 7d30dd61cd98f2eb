// Puts generated keys and sector data on the form: into FormState, the key or data field, and
// for data the converter display.
#include "protocol/win/form_generator_commands.h"

#include <windows.h>

#include "protocol/win/form_generators.h"
#include "ui/win/main_form.h"

void OnGenerateRandomCommand() {
  uint8_t key[6];
  GenerateRandomKey(key);
  ShowSystemKey(key);
}

void OnGenerateUniqueCommand() { FillUniqueSectorData(); }

bool FillUniqueSectorData() {
  uint8_t data[7];
  if (!GenerateUniqueSectorData(data)) return false;
  ShowSectorData(data);
  return true;
}
