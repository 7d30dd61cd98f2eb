// The operations on the plain key list keys.data: listing it, loading one record into the keys
// list window or onto the main form, adding the key of the window's edits, removing a line.
#pragma once

// Each expects keys.data, decrypted just before, and deletes it when done.
bool ListKeyRecords();
bool LoadKeyIntoEdits(int record);
bool LoadKeyIntoForm(int record);
// Decrypts crkeys.data itself. True only when the edits' key and description are already
// listed, with *record the number of that line; false when added or when a failure was shown.
bool AddKey(int* record);
// Rewrites keys.data without line record through TmpKeys.data; on success keys.data stays for
// the caller to encrypt, on failure it is gone.
bool RemoveKeyLine(int record);
