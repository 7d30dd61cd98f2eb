// The key store's files: keys.data read and edited, its AES-256 copies crkeys.data and zipkeys.data,
// and the removal of the plain files. Each operation returns what it came to and the reports the
// keys list window is to show, in order; none shows a box.
#pragma once

#include <windows.h>

#include <vector>

#include "keystore/key_list.h"
#include "ui/ui_text.h"

// The steps of a conversion that can fail, each with its own text in the error box.
enum CryptoStep : int {
  kStepOpenSource,
  kStepOpenDestination,
  kStepAcquireContext,
  kStepCreateHash,
  kStepHashData,
  kStepDeriveKey,
  kStepAllocate,
  kStepRead,
  kStepEncrypt,
  kStepDecrypt,
  kStepWrite,
};

// A box of kind error: a message of the caption table, followed by the system's code where
// withCode; with no message, the box of a conversion that failed at step, which always shows it.
struct KeyStoreReport {
  const char* const UiTextTable::*message = nullptr;
  bool withCode = false;
  DWORD code = 0;
  CryptoStep step = kStepOpenSource;
};
// The reports of one or more operations in the order they were met. An operation that reports a
// failure has removed keys.data and TmpKeys.data first, so no box ever shows while the keys lie
// on disk in plain text; a plain file that will not go is reported itself.
using KeyStoreReports = std::vector<KeyStoreReport>;

// Both return true when the whole source has been converted into the destination; otherwise the
// failed step and its code are in *failure and a destination they created is gone.
bool EncryptKeyFile(const char* source, const char* destination, const char* passPhrase, KeyStoreReport* failure);
bool DecryptKeyFile(const char* source, const char* destination, const char* passPhrase, KeyStoreReport* failure);

// The records of keys.data in file order, each line parsed over the record of the lines before it.
// read: keys.data was opened, and records then replace the rows shown (those read before a failed
// read too).
struct KeyRecordList {
  bool read = false;
  std::vector<KeyRecord> records;
};
// What the keys list window's edits show of a record: its key as six spaced pairs, its description.
struct KeyEditTexts {
  char key[kSpacedKeyLength + 1];
  char description[kMaxDescriptionLength + 1];
};

// Rewrites keys.data without line record through TmpKeys.data; on success keys.data stays for
// the caller to encrypt, on failure it is gone.
bool RemoveKeyLine(int record, KeyStoreReports* reports);

// Decrypts crkeys.data itself and appends the line of the key (as spaced pairs), description and
// settings, then stores the list; a key and description already listed are not appended, and
// *listedAt is then the number of their line (-1 otherwise). No keys.data is left.
enum class AddKeyResult { kAdded, kListed, kFailed };
AddKeyResult AddKey(const char* spacedKey, const char* description, const KeyLineSettings& settings, int* listedAt,
                    KeyStoreReports* reports);

// Encrypts keys.data and puts it in place of crkeys.data in one step, then zipkeys.data in place
// of its copy the same way; each file holds a whole list at every moment. On failure crkeys.data
// keeps the list it held. keys.data stays unless something is reported (a failure, or a spare
// copy that could not be written, which still returns true).
bool StoreEncryptedKeys(KeyStoreReports* reports);

// Each decrypts crkeys.data into keys.data and, only if that worked, runs the operation. The loads
// of a record are false without a report when the list has fewer records.
bool RefreshKeysList(KeyRecordList* list, KeyStoreReports* reports);
bool ShowKeyRecord(int record, KeyEditTexts* texts, KeyStoreReports* reports);
bool UseKeyRecord(int record, KeyRecord* into, KeyStoreReports* reports);
bool RemoveKey(int record, KeyStoreReports* reports);

// Deletes keys.data and TmpKeys.data where present.
KeyStoreReports RemovePlainKeyFiles();
// At start, before any key store operation: what a run that ended in the middle of one left
// behind, the plain files and an encrypted list that never took the stored one's place.
KeyStoreReports RemoveKeyStoreLeftovers();
