// The generator buttons of the main form, "Generate random" (20) and "Generate unique" (23),
// and the generation before a user write while box 24 is checked.
#pragma once

void OnGenerateRandomCommand();
void OnGenerateUniqueCommand();

// New unique sector data into FormState, the data field and the converter; false when none
// could be found (already reported), and then nothing must be written.
bool FillUniqueSectorData();
