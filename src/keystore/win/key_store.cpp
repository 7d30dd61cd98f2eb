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

bool FlushFile(const char* name) {
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const BOOL flushed = FlushFileBuffers(file);
  const DWORD code = GetLastError();
  CloseHandle(file);
  SetLastError(code);
  return flushed;
}

// Renames the flushed TmpCrKeys.data over target: the target holds either its old bytes or the
// new ones, never a part, whenever the program or the machine stops. On failure the temporary
// file is removed and the rename's code is left as the last error.
bool ReplaceWithTemporary(const char* target) {
  if (MoveFileExA(kTmpCrKeysFile, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  const DWORD code = GetLastError();
  DeleteFileA(kTmpCrKeysFile);
  SetLastError(code);
  return false;
}

}  // namespace

bool StoreEncryptedKeys() {
  if (!EncryptKeyFile(kKeysFile, kTmpCrKeysFile, kKeyFilePassPhrase)) {
    const DWORD code = GetLastError();
    DeleteFileA(kTmpCrKeysFile);
    ReportKeyStoreErrorCode(UiText.msgEncryptionFailed, code);
    return false;
  }
  if (!ReplaceWithTemporary(kCrKeysFile)) {
    ReportKeyStoreErrorCode(UiText.msgCrKeysFileProblem, GetLastError());
    return false;
  }
  // The list is stored; a spare copy that was not refreshed is worth a word to the user.
  if (!CopyFileA(kCrKeysFile, kTmpCrKeysFile, FALSE) || !FlushFile(kTmpCrKeysFile) ||
      !ReplaceWithTemporary(kZipKeysFile)) {
    const DWORD code = GetLastError();
    DeleteFileA(kTmpCrKeysFile);
    ReportKeyStoreErrorCode(UiText.msgZipKeysCopyError, code);
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
