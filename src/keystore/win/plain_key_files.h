// keys.data and TmpKeys.data hold the system keys in plain text: they are removed as soon as
// the operation that made them is over, and a file that will not go is reported.
#pragma once

// Deletes keys.data and TmpKeys.data where present; a file that cannot be deleted gets its own
// error box with the system's code.
void RemovePlainKeyFiles();

// At start, before any key store operation: what a run that ended in the middle of one left
// behind, the plain files and an encrypted list that never took the stored one's place.
void RemoveKeyStoreLeftovers();
