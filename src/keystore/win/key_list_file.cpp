// The plain key list keys.data, read one byte per call into lines of at most 511 bytes, and its
// edits: appending the key of the keys list window, dropping a line through TmpKeys.data.
#include "keystore/win/key_list_file.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "keystore/key_files.h"
#include "keystore/key_line.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_form_link.h"
#include "keystore/win/key_store.h"
#include "keystore/win/key_store_messages.h"
#include "keystore/win/keys_window.h"
#include "keystore/win/plain_key_files.h"
#include "ui/hex_field.h"
#include "ui/ui_text.h"

namespace {

enum class LineRead { kLine, kEnd, kError };

// Reads up to the next LF; bytes after the last LF never make a line.
LineRead ReadLine(HANDLE file, KeyLineReader* reader) {
  for (;;) {
    char byte = 0;
    DWORD read = 0;
    if (!ReadFile(file, &byte, 1, &read, nullptr)) return LineRead::kError;
    if (read == 0) return LineRead::kEnd;
    if (TakeKeyLineByte(reader, byte)) return LineRead::kLine;
  }
}

HANDLE OpenKeysFile(DWORD access) {
  return CreateFileA(kKeysFile, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// Every report below removes keys.data and TmpKeys.data before its box shows.
bool KeysFileNotFound() {
  ReportKeyStoreError(UiText.msgKeysFileNotFound);
  return false;
}

// The read's error code is taken before the handles are closed.
bool KeysFileReadFailed(HANDLE file, HANDLE temporary = INVALID_HANDLE_VALUE) {
  const DWORD code = GetLastError();
  if (temporary != INVALID_HANDLE_VALUE) CloseHandle(temporary);
  CloseHandle(file);
  ReportKeyStoreErrorCode(UiText.msgKeysFileReadError, code);
  return false;
}

// Reads keys.data up to line record and parses it into g_keyRecord with its key spaced.
// Closes and deletes keys.data in every case; false when the line is not there.
bool LoadRecord(int record) {
  HANDLE file = OpenKeysFile(GENERIC_READ);
  if (file == INVALID_HANDLE_VALUE) return KeysFileNotFound();
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(file, &reader);
    if (result == LineRead::kError) return KeysFileReadFailed(file);
    if (result == LineRead::kEnd) break;
    if (number == record) {
      ParseKeyLine(reader.text, &g_keyRecord);
      SpaceKeyText(&g_keyRecord);
      CloseHandle(file);
      RemovePlainKeyFiles();
      return true;
    }
  }
  CloseHandle(file);
  RemovePlainKeyFiles();
  return false;
}

}  // namespace

bool ListKeyRecords() {
  HANDLE file = OpenKeysFile(GENERIC_READ);
  if (file == INVALID_HANDLE_VALUE) return KeysFileNotFound();
  SendMessageA(g_keysList, LVM_DELETEALLITEMS, 0, 0);
  const bool showKey = IsDlgButtonChecked(g_keysWindow, kIdKeysShowKey) == BST_CHECKED;
  KeyLineReader reader = {};
  for (;;) {
    const LineRead result = ReadLine(file, &reader);
    if (result == LineRead::kError) return KeysFileReadFailed(file);
    if (result == LineRead::kEnd) break;
    ParseKeyLine(reader.text, &g_keyRecord);
    if (showKey) {
      SpaceKeyText(&g_keyRecord);
    } else {
      MaskKeyText(&g_keyRecord);
    }
    AppendKeysRow();
  }
  CloseHandle(file);
  RemovePlainKeyFiles();
  return true;
}

bool LoadKeyIntoEdits(int record) {
  if (!LoadRecord(record)) return false;
  SetWindowTextA(g_keysKeyEdit, g_keyRecord.keyText);
  SetWindowTextA(g_keysDescriptionEdit, g_keyRecord.description);
  return true;
}

bool LoadKeyIntoForm(int record) {
  if (!LoadRecord(record)) return false;
  ApplyKeyRecord();
  return true;
}

bool AddKey(int* record) {
  char key[32] = {};
  char description[kMaxDescriptionLength + 1] = {};
  GetWindowTextA(g_keysKeyEdit, key, sizeof key);
  GetWindowTextA(g_keysDescriptionEdit, description, sizeof description);
  if (!DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase)) return false;
  HANDLE file = OpenKeysFile(GENERIC_READ | GENERIC_WRITE);
  if (file == INVALID_HANDLE_VALUE) return KeysFileNotFound();
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(file, &reader);
    if (result == LineRead::kError) return KeysFileReadFailed(file);
    if (result == LineRead::kEnd) break;
    ParseKeyLine(reader.text, &g_keyRecord);
    SpaceKeyText(&g_keyRecord);
    if (strcmp(g_keyRecord.keyText, key) == 0 && strcmp(g_keyRecord.description, description) == 0) {
      *record = number;
      CloseHandle(file);
      RemovePlainKeyFiles();
      return true;
    }
  }
  StripSpaces(key);
  char line[kKeyLineBufferSize];
  const DWORD length = static_cast<DWORD>(ComposeKeyLine(ReadFormKeySettings(), key, description, line));
  DWORD written = 0;
  if (!WriteFile(file, line, length, &written, nullptr) || written != length) {
    const DWORD code = GetLastError();
    CloseHandle(file);
    ReportKeyStoreErrorCode(UiText.msgKeysFileWriteError, code);
    return false;
  }
  CloseHandle(file);
  StoreEncryptedKeys();
  RemovePlainKeyFiles();
  return false;
}

bool RemoveKeyLine(int record) {
  HANDLE file = OpenKeysFile(GENERIC_READ);
  if (file == INVALID_HANDLE_VALUE) return KeysFileNotFound();
  HANDLE temporary = CreateFileA(kTmpKeysFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (temporary == INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    ReportKeyStoreError(UiText.msgTempFileCreateError);
    return false;
  }
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(file, &reader);
    if (result == LineRead::kError) return KeysFileReadFailed(file, temporary);
    if (result == LineRead::kEnd) break;
    if (number == record) continue;
    const size_t length = strlen(reader.text);
    reader.text[length] = '\n';
    DWORD written = 0;
    const BOOL ok = WriteFile(temporary, reader.text, static_cast<DWORD>(length + 1), &written, nullptr);
    if (!ok || written != length + 1) {
      const DWORD code = GetLastError();
      CloseHandle(temporary);
      CloseHandle(file);
      ReportKeyStoreErrorCode(UiText.msgTempFileWriteError, code);
      return false;
    }
  }
  CloseHandle(temporary);
  CloseHandle(file);
  // One rename puts the shortened list in place, so keys.data is never half written.
  if (MoveFileExA(kTmpKeysFile, kKeysFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  ReportKeyStoreErrorCode(UiText.msgKeysFileProblem, GetLastError());
  return false;
}
