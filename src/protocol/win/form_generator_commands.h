// The generator buttons of the main form: "Generate random" (20), "Generate unique" (23) and
// the box "Generate unique data before write" (24), and the generation before a user write.
#pragma once

void OnGenerateRandomCommand();
void OnGenerateUniqueCommand();
void OnGenerateBeforeWriteCommand();

// New unique sector data into FormState, the data field and the converter; false when none
// could be found (already reported), and then nothing must be written.
bool FillUniqueSectorData();
