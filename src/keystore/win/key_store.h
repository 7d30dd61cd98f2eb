// The stored key list crkeys.data with its spare copy zipkeys.data, and the operations that
// decrypt it into keys.data in front of each read or edit of the list.
#pragma once

// Encrypts keys.data and puts it in place of crkeys.data in one step, then zipkeys.data in
// place of its copy the same way; each file holds a whole list at every moment. On failure
// crkeys.data keeps the list it held. keys.data stays unless a box is shown (a failure, or a
// spare copy that could not be written): it is removed before it.
bool StoreEncryptedKeys();

// Each decrypts crkeys.data into keys.data and, only if that worked, runs the operation.
bool RefreshKeysList();
bool ShowKeyRecord(int record);
bool UseKeyRecord(int record);
bool RemoveKey(int record);
