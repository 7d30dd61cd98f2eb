// The plain key list keys.data, read in blocks and cut into lines of at most 511 bytes, and its
// edits: appending the key of the keys list window, dropping a line through TmpKeys.data.
#include "keystore/win/key_list_file.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "keystore/duplicate_key.h"
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

// keys.data as it is read: a block at a time, since a ReadFile call per byte makes a list of a
// thousand keys take seconds. The lines come out exactly as byte by byte.
struct KeysFileBlocks {
  HANDLE file = INVALID_HANDLE_VALUE;
  char block[16 * 1024];
  DWORD length = 0;
  DWORD next = 0;
};

// Reads up to the next LF; bytes after the last LF never make a line. A file read to its end
// leaves the file position at the end, where AddKey appends.
LineRead ReadLine(KeysFileBlocks* in, KeyLineReader* reader) {
  for (;;) {
    if (in->next == in->length) {
      in->next = 0;
      in->length = 0;
      if (!ReadFile(in->file, in->block, sizeof in->block, &in->length, nullptr)) return LineRead::kError;
      if (in->length == 0) return LineRead::kEnd;
    }
    if (TakeKeyLineByte(reader, in->block[in->next++])) return LineRead::kLine;
  }
}

void RedrawKeysList() {
  SendMessageA(g_keysList, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(g_keysList, nullptr, TRUE);
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
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(&in, &reader);
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
  // The list redraws once when it is complete, not once per row.
  SendMessageA(g_keysList, WM_SETREDRAW, FALSE, 0);
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  for (;;) {
    const LineRead result = ReadLine(&in, &reader);
    if (result == LineRead::kError) {
      RedrawKeysList();
      return KeysFileReadFailed(file);
    }
    if (result == LineRead::kEnd) break;
    ParseKeyLine(reader.text, &g_keyRecord);
    if (showKey) {
      SpaceKeyText(&g_keyRecord);
    } else {
      MaskKeyText(&g_keyRecord);
    }
    AppendKeysRow();
  }
  RedrawKeysList();
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
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  DuplicateKeySearch search{key, description};
  for (;;) {
    const LineRead result = ReadLine(&in, &reader);
    if (result == LineRead::kError) return KeysFileReadFailed(file);
    if (result == LineRead::kEnd) break;
    if (TakeLineForDuplicate(&search, reader.text, &g_keyRecord)) {
      *record = search.line;
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
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(&in, &reader);
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
