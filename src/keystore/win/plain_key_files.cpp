// Removing the plain key files: a file that is not there is fine, any other failure of its
// deletion is reported, since the keys would otherwise stay on disk unencrypted unseen.
#include "keystore/win/plain_key_files.h"

#include <windows.h>

#include "keystore/key_files.h"
#include "keystore/win/key_store_messages.h"
#include "ui/ui_text.h"

void RemovePlainKeyFiles() {
  const struct {
    const char* name;
    const char* const UiTextTable::*message;
  } files[] = {
      {kKeysFile, &UiTextTable::msgKeysFileDeleteError},
      {kTmpKeysFile, &UiTextTable::msgTmpKeysFileDeleteError},
  };
  for (const auto& file : files) {
    if (DeleteFileA(file.name)) continue;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) ShowKeyStoreErrorCode(UiText.*file.message, code);
  }
}

void RemoveKeyStoreLeftovers() {
  RemovePlainKeyFiles();
  DeleteFileA(kTmpCrKeysFile);
}
