// The plain key list keys.data, read in blocks and cut into lines of at most 511 bytes, and its
// edits: appending the key of the keys list window, dropping a line through TmpKeys.data.
#include "keystore/win/key_list_file.h"

#include <windows.h>

#include <cstring>

#include "base/win/handles.h"
#include "keystore/duplicate_key.h"
#include "keystore/key_files.h"
#include "keystore/key_line.h"
#include "keystore/win/key_file_crypto.h"
#include "keystore/win/key_form_link.h"
#include "keystore/win/key_store.h"
#include "keystore/win/key_store_messages.h"
#include "keystore/win/keys_window.h"
#include "keystore/win/plain_key_files.h"
#include "ui/form_state.h"
#include "ui/ui_text.h"

// Each operation reads keys.data in a function of its own that holds the open files and returns
// what went wrong; the failure is reported only once that function has closed them, since the
// report deletes the plain files before its box shows.
namespace {

enum class LineRead { kLine, kEnd, kError };

// The record of the line parsed last, for the whole run: the list's rows and the record taken
// onto the main form are read from it. Every read of keys.data parses its lines in order from
// an empty record, so a field that a damaged line lacks is the one the lines before it gave, the
// same in every read: a record's row in the list, the record shown in the edits and the one put
// on the form never differ.
KeyRecord g_keyRecord = {};

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

HANDLE OpenKeysFile(DWORD access) {
  return CreateFileA(kKeysFile, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

KeyStoreFailure NotFound() {
  return {UiText.msgKeysFileNotFound};
}

// The code is taken at once, before anything else can change it.
KeyStoreFailure FailedWithCode(const char* text) {
  return {text, true, GetLastError()};
}

// A finished operation removes the plain files; a failed one has its report do it.
bool Conclude(const KeyStoreFailure& failure, bool result) {
  if (failure.text != nullptr) return ReportKeyStoreFailure(failure);
  RemovePlainKeyFiles();
  return result;
}

// Hands each line of keys.data to visit(line, number), counted from 0, for as long as it returns
// true, with g_keyRecord emptied first; a read error comes back as the failure, its code taken at
// once. *unfinished tells whether the file, read to its end, ends inside a line.
template <typename Visit>
KeyStoreFailure EachKeyLine(HANDLE file, Visit visit, bool* unfinished = nullptr) {
  g_keyRecord = {};
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(&in, &reader);
    if (result == LineRead::kError) return FailedWithCode(UiText.msgKeysFileReadError);
    if (result == LineRead::kEnd && unfinished != nullptr) *unfinished = reader.length > 0;
    if (result == LineRead::kEnd || !visit(reader.text, number)) return {};
  }
}

KeyStoreFailure ListRecords() {
  const OwnedHandle file(OpenKeysFile(GENERIC_READ));
  if (!file.Valid()) return NotFound();
  BeginKeysRows();
  const bool showKey = KeysShowKeyChecked();
  const KeyStoreFailure failure = EachKeyLine(file.Get(), [showKey](char* line, int) {
    ParseKeyLine(line, &g_keyRecord);
    char key[kSpacedKeyLength + 1];
    ShownKeyText(g_keyRecord, !showKey, key);
    AppendKeysRow(g_keyRecord, key);
    return true;
  });
  EndKeysRows();
  return failure;
}

// Parses the lines up to line record into g_keyRecord, as the list does; *found is false when
// the file has fewer lines.
KeyStoreFailure FindRecord(int record, bool* found) {
  const OwnedHandle file(OpenKeysFile(GENERIC_READ));
  if (!file.Valid()) return NotFound();
  return EachKeyLine(file.Get(), [record, found](char* line, int number) {
    ParseKeyLine(line, &g_keyRecord);
    *found = number == record;
    return !*found;
  });
}

bool LoadRecord(int record) {
  bool found = false;
  const KeyStoreFailure failure = FindRecord(record, &found);
  return Conclude(failure, found);
}

// Appends the line of key and description unless a line already holds them; *listed then
// tells so, with *record its number.
KeyStoreFailure AppendUnlessListed(char* key, const char* description, int* record,
                                   bool* listed) {
  const OwnedHandle file(OpenKeysFile(GENERIC_READ | GENERIC_WRITE));
  if (!file.Valid()) return NotFound();
  DuplicateKeySearch search{key, description};
  bool unfinished = false;
  const KeyStoreFailure read = EachKeyLine(
      file.Get(),
      [&](char* line, int) {
        if (!TakeLineForDuplicate(&search, line, &g_keyRecord)) return true;
        *record = search.line;
        *listed = true;
        return false;
      },
      &unfinished);
  if (read.text != nullptr || *listed) return read;
  StripSpaces(key);
  // A list whose last line lost its line end (in a hand edit, say) gets it back first: the new
  // record starts on a line of its own, and that last line is listed as the record it holds.
  char line[kKeyLineBufferSize + 1] = "\n";
  const size_t start = unfinished ? 1 : 0;
  const DWORD length =
      static_cast<DWORD>(start + ComposeKeyLine(ReadFormKeySettings(), key, description, line + start));
  DWORD written = 0;
  if (!WriteFile(file.Get(), line, length, &written, nullptr) || written != length) {
    return FailedWithCode(UiText.msgKeysFileWriteError);
  }
  return {};
}

// Copies every line but record into a new TmpKeys.data.
KeyStoreFailure CopyAllBut(int record) {
  const OwnedHandle file(OpenKeysFile(GENERIC_READ));
  if (!file.Valid()) return NotFound();
  const OwnedHandle temporary(CreateFileA(kTmpKeysFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!temporary.Valid()) return {UiText.msgTempFileCreateError};
  KeyStoreFailure writeFailure;
  const KeyStoreFailure read = EachKeyLine(file.Get(), [&](char* line, int number) {
    if (number == record) return true;
    const size_t length = strlen(line);
    line[length] = '\n';
    DWORD written = 0;
    const BOOL ok = WriteFile(temporary.Get(), line, static_cast<DWORD>(length + 1), &written, nullptr);
    if (ok && written == length + 1) return true;
    writeFailure = FailedWithCode(UiText.msgTempFileWriteError);
    return false;
  });
  return writeFailure.text != nullptr ? writeFailure : read;
}

}  // namespace

bool ListKeyRecords() {
  return Conclude(ListRecords(), true);
}

bool LoadKeyIntoEdits(int record) {
  if (!LoadRecord(record)) return false;
  char key[kSpacedKeyLength + 1];
  ShownKeyText(g_keyRecord, false, key);
  ShowInKeysEdits(key, g_keyRecord.description);
  return true;
}

bool LoadKeyIntoForm(int record) {
  if (!LoadRecord(record)) return false;
  ApplyKeyRecord(g_keyRecord);
  return true;
}

bool AddKey(int* record) {
  char key[32] = {};
  char description[kMaxDescriptionLength + 1] = {};
  ReadKeysEdits(key, sizeof key, description, sizeof description);
  if (!DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase)) return false;
  bool listed = false;
  const KeyStoreFailure failure = AppendUnlessListed(key, description, record, &listed);
  if (failure.text != nullptr) return ReportKeyStoreFailure(failure);
  if (!listed) StoreEncryptedKeys();
  RemovePlainKeyFiles();
  return listed;
}

bool RemoveKeyLine(int record) {
  const KeyStoreFailure failure = CopyAllBut(record);
  if (failure.text != nullptr) return ReportKeyStoreFailure(failure);
  // One rename puts the shortened list in place, so keys.data is never half written.
  if (MoveFileExA(kTmpKeysFile, kKeysFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  return ReportKeyStoreFailure(FailedWithCode(UiText.msgKeysFileProblem));
}
