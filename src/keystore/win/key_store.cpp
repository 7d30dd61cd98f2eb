// Storing the edited key list encrypted, and the four operations that decrypt the stored list
// before they read or edit it.
#include "keystore/win/key_store.h"

#include <windows.h>

#include "base/win/handles.h"
#include "keystore/key_files.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_list_file.h"
#include "keystore/win/key_store_messages.h"
#include "ui/ui_text.h"

namespace {

bool DecryptStoredKeys() {
  return DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase);
}

// 0 when the file is on the disk, else the error code of the open or the flush.
DWORD FlushFile(const char* name) {
  const OwnedHandle file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || !FlushFileBuffers(file.Get())) return GetLastError();
  return ERROR_SUCCESS;
}

// Renames the flushed TmpCrKeys.data over target: the target holds either its old bytes or the
// new ones, never a part, whenever the program or the machine stops.
bool ReplaceWithTemporary(const char* target) {
  return MoveFileExA(kTmpCrKeysFile, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Each step goes through TmpCrKeys.data, which is renamed into place or deleted before it
// returns; a failure's code is taken before the deletion.
KeyStoreFailure ReplaceStoredList() {
  FileToDelete temporary(kTmpCrKeysFile);
  if (!EncryptKeyFile(kKeysFile, kTmpCrKeysFile, kKeyFilePassPhrase)) {
    return {UiText.msgEncryptionFailed, true, GetLastError()};
  }
  if (!ReplaceWithTemporary(kCrKeysFile)) return {UiText.msgCrKeysFileProblem, true, GetLastError()};
  temporary.Keep();
  return {};
}

KeyStoreFailure ReplaceSpareCopy() {
  FileToDelete temporary(kTmpCrKeysFile);
  if (!CopyFileA(kCrKeysFile, kTmpCrKeysFile, FALSE)) return {UiText.msgZipKeysCopyError, true, GetLastError()};
  const DWORD flushError = FlushFile(kTmpCrKeysFile);
  if (flushError != ERROR_SUCCESS) return {UiText.msgZipKeysCopyError, true, flushError};
  if (!ReplaceWithTemporary(kZipKeysFile)) return {UiText.msgZipKeysCopyError, true, GetLastError()};
  temporary.Keep();
  return {};
}

}  // namespace

bool StoreEncryptedKeys() {
  const KeyStoreFailure stored = ReplaceStoredList();
  if (stored.text != nullptr) return ReportKeyStoreFailure(stored);
  // The list is stored; a spare copy that was not refreshed is worth a word to the user.
  const KeyStoreFailure spare = ReplaceSpareCopy();
  if (spare.text != nullptr) ReportKeyStoreFailure(spare);
  return true;
}

bool RefreshKeysList() {
  return DecryptStoredKeys() && ListKeyRecords();
}

bool ShowKeyRecord(int record) {
  return DecryptStoredKeys() && LoadKeyIntoEdits(record);
}

bool UseKeyRecord(int record) {
  return DecryptStoredKeys() && LoadKeyIntoForm(record);
}

bool RemoveKey(int record) {
  return DecryptStoredKeys() && RemoveKeyLine(record);
}
