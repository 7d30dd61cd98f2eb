// Storing the edited key list encrypted, and the four operations that decrypt the stored list
// before they read or edit it.
#include "keystore/win/key_store.h"

#include <windows.h>

#include "keystore/key_files.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_list_file.h"
#include "keystore/win/key_store_messages.h"
#include "ui/ui_text.h"

namespace {

bool DecryptStoredKeys() {
  return DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase);
}

}  // namespace

bool StoreEncryptedKeys() {
  if (!EncryptKeyFile(kKeysFile, kTmpCrKeysFile, kKeyFilePassPhrase)) {
    const DWORD code = GetLastError();
    DeleteFileA(kTmpCrKeysFile);
    ReportKeyStoreErrorCode(UiText.msgEncryptionFailed, code);
    return false;
  }
  // A rename over the old file: crkeys.data holds either the old list or the new one, never
  // neither, whatever happens.
  if (!MoveFileExA(kTmpCrKeysFile, kCrKeysFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    DeleteFileA(kTmpCrKeysFile);
    ReportKeyStoreErrorCode(UiText.msgCrKeysFileProblem, code);
    return false;
  }
  // The list is stored; a spare copy that was not refreshed is worth a word to the user.
  if (!CopyFileA(kCrKeysFile, kZipKeysFile, FALSE)) {
    ReportKeyStoreErrorCode(UiText.msgZipKeysCopyError, GetLastError());
  }
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
