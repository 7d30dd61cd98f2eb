// The key store's files: AES-256-CBC conversions through the CryptoAPI, keys.data read in blocks and
// edited through TmpKeys.data, the encrypted list stored by renaming, and the plain files removed as
// soon as an operation is over. Failures come back as reports for the keys list window to show.
#include "keystore/win/key_store.h"

#include <wincrypt.h>

#include <cstdlib>
#include <cstring>

#include "base/win/handles.h"
#include "ui/form_state.h"

namespace {

// ---- Conversions: a whole file in 960-byte chunks under a key the CryptoAPI derives from the MD5
// of a pass phrase. Every handle and buffer a conversion takes is released once.

constexpr char kProvider[] = "Microsoft Enhanced RSA and AES Cryptographic Provider";
constexpr DWORD kChunkBytes = 960;
constexpr DWORD kEncryptBufferBytes = 1024;  // a chunk and one block of padding

// What one conversion holds; Release gives back exactly what was taken.
struct Conversion {
  OwnedHandle source;
  OwnedHandle destination;
  HCRYPTHASH hash = 0;
  HCRYPTKEY key = 0;
  BYTE* buffer = nullptr;
};

void Release(Conversion* c) {
  c->source.Reset();
  c->destination.Reset();
  if (c->key) CryptDestroyKey(c->key);
  if (c->hash) CryptDestroyHash(c->hash);
  free(c->buffer);
  *c = Conversion{};
}

// Ends a conversion at a failed step: the error code is taken before anything else runs, and a
// partly written destination is removed.
bool Failed(Conversion* c, CryptoStep step, const char* destination, KeyStoreReport* failure) {
  *failure = {nullptr, true, GetLastError(), step};
  const bool created = c->destination.Valid();
  Release(c);
  if (created) DeleteFileA(destination);
  return false;
}

// The provider of every conversion, acquired at the first one that succeeds and kept until the
// process ends: under Wine each acquire and release pair leaves a registry handle open, so a
// context per conversion would leak two handles at every opening of the keys list window.
HCRYPTPROV g_provider = 0;

bool AcquireProvider(HCRYPTPROV* provider) {
  if (g_provider == 0 && !CryptAcquireContextA(&g_provider, nullptr, kProvider, PROV_RSA_AES, 0)) {
    g_provider = 0;
    if (GetLastError() != static_cast<DWORD>(NTE_BAD_KEYSET) ||
        !CryptAcquireContextA(&g_provider, nullptr, kProvider, PROV_RSA_AES, CRYPT_NEWKEYSET)) {
      g_provider = 0;
      return false;
    }
  }
  *provider = g_provider;
  return true;
}

bool Convert(const char* sourceName, const char* destinationName, const char* passPhrase, bool encrypt,
             KeyStoreReport* failure) {
  Conversion c;
  auto fail = [&](CryptoStep step) { return Failed(&c, step, destinationName, failure); };
  c.source.Reset(CreateFileA(sourceName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!c.source.Valid()) return fail(kStepOpenSource);
  LARGE_INTEGER sourceSize;
  if (!GetFileSizeEx(c.source.Get(), &sourceSize)) return fail(kStepRead);
  c.destination.Reset(CreateFileA(destinationName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!c.destination.Valid()) return fail(kStepOpenDestination);
  HCRYPTPROV provider = 0;
  if (!AcquireProvider(&provider)) return fail(kStepAcquireContext);
  if (!CryptCreateHash(provider, CALG_MD5, 0, 0, &c.hash)) return fail(kStepCreateHash);
  if (!CryptHashData(c.hash, reinterpret_cast<const BYTE*>(passPhrase), lstrlenA(passPhrase), 0)) {
    return fail(kStepHashData);
  }
  if (!CryptDeriveKey(provider, CALG_AES_256, c.hash, 0, &c.key)) return fail(kStepDeriveKey);
  const DWORD bufferBytes = encrypt ? kEncryptBufferBytes : kChunkBytes;
  c.buffer = static_cast<BYTE*>(malloc(bufferBytes));
  if (c.buffer == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return fail(kStepAllocate);
  }
  // The last chunk is the one that reaches the end of the source, so a ciphertext whose length
  // is a multiple of the chunk has its padding removed with its own last block: a final
  // decryption of zero bytes after it is not something the provider can be trusted with.
  LONGLONG remaining = sourceSize.QuadPart;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(c.source.Get(), c.buffer, kChunkBytes, &read, nullptr)) return fail(kStepRead);
    remaining -= read;
    const BOOL final = read < kChunkBytes || remaining <= 0;
    DWORD length = read;
    if (encrypt) {
      if (!CryptEncrypt(c.key, 0, final, 0, c.buffer, &length, bufferBytes)) return fail(kStepEncrypt);
    } else if (!CryptDecrypt(c.key, 0, final, 0, c.buffer, &length)) {
      return fail(kStepDecrypt);
    }
    DWORD written = 0;
    if (!WriteFile(c.destination.Get(), c.buffer, length, &written, nullptr) || written != length) {
      return fail(kStepWrite);
    }
    if (final) break;
  }
  // An encrypted list is about to replace the stored one: it must be on the disk first, or a
  // power cut after the replacement could leave crkeys.data empty.
  if (encrypt && !FlushFileBuffers(c.destination.Get())) return fail(kStepWrite);
  Release(&c);
  return true;
}

// ---- Reports and the plain files.

KeyStoreReport Message(const char* const UiTextTable::*message) { return {message}; }

// The code is taken at once, before anything else can change it.
KeyStoreReport WithLastError(const char* const UiTextTable::*message) { return {message, true, GetLastError()}; }

void RemovePlainFiles(KeyStoreReports* reports) {
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
    if (code != ERROR_FILE_NOT_FOUND) reports->push_back({file.message, true, code});
  }
}

// Ends a failed operation: the plain files go before its report. Returns false, its result.
bool Fail(const KeyStoreReport& failure, KeyStoreReports* reports) {
  RemovePlainFiles(reports);
  reports->push_back(failure);
  return false;
}

bool DecryptStoredKeys(KeyStoreReports* reports) {
  KeyStoreReport failure;
  return DecryptKeyFile(kCrKeysFile, kKeysFile, kKeyFilePassPhrase, &failure) || Fail(failure, reports);
}

// ---- keys.data. Each operation reads it in a function of its own that holds the open files and
// gives back what went wrong; the failure ends the operation once they are closed.

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

// Opens keys.data; when it cannot be, *failure says it was not found.
OwnedHandle OpenKeysFile(DWORD access, KeyStoreReport* failure) {
  OwnedHandle file(CreateFileA(kKeysFile, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) *failure = Message(&UiTextTable::msgKeysFileNotFound);
  return file;
}

// Hands each line of keys.data to visit(line, number), counted from 0, for as long as it returns
// true. False on a read error, with its report in *failure. *unfinished tells whether the file,
// read to its end, ends inside a line.
template <typename Visit>
bool EachKeyLine(HANDLE file, KeyStoreReport* failure, Visit visit, bool* unfinished = nullptr) {
  KeysFileBlocks in;
  in.file = file;
  KeyLineReader reader = {};
  for (int number = 0;; ++number) {
    const LineRead result = ReadLine(&in, &reader);
    if (result == LineRead::kError) {
      *failure = WithLastError(&UiTextTable::msgKeysFileReadError);
      return false;
    }
    if (result == LineRead::kEnd && unfinished != nullptr) *unfinished = reader.length > 0;
    if (result == LineRead::kEnd || !visit(reader.text, number)) return true;
  }
}

// Every read parses the lines in order from an empty record, so a field that a damaged line lacks
// is the one the lines before it gave, the same in every read: a record's row in the list, the
// record shown in the edits and the one put on the form never differ.
bool ReadRecords(KeyRecordList* list, KeyStoreReport* failure) {
  const OwnedHandle file = OpenKeysFile(GENERIC_READ, failure);
  if (!file.Valid()) return false;
  list->read = true;
  list->records.clear();
  KeyRecord record = {};
  return EachKeyLine(file.Get(), failure, [&](const char* line, int) {
    ParseKeyLine(line, &record);
    list->records.push_back(record);
    return true;
  });
}

// Parses the lines up to line n into *record; *found is false when the file has fewer lines.
bool FindRecord(int n, KeyRecord* record, bool* found, KeyStoreReport* failure) {
  const OwnedHandle file = OpenKeysFile(GENERIC_READ, failure);
  if (!file.Valid()) return false;
  *record = {};
  return EachKeyLine(file.Get(), failure, [&](const char* line, int number) {
    ParseKeyLine(line, record);
    *found = number == n;
    return !*found;
  });
}

// A finished operation removes the plain files; a failed one is ended by its failure.
bool LoadRecord(int n, KeyRecord* record, KeyStoreReports* reports) {
  bool found = false;
  KeyStoreReport failure;
  if (!FindRecord(n, record, &found, &failure)) return Fail(failure, reports);
  RemovePlainFiles(reports);
  return found;
}

// Appends the line of key and description unless a line already holds them; *listedAt is then
// its number.
bool AppendUnlessListed(const char* spacedKey, const char* description, const KeyLineSettings& settings,
                        int* listedAt, KeyStoreReport* failure) {
  const OwnedHandle file = OpenKeysFile(GENERIC_READ | GENERIC_WRITE, failure);
  if (!file.Valid()) return false;
  KeyRecord record = {};
  bool unfinished = false;
  const bool read = EachKeyLine(
      file.Get(), failure,
      [&](const char* line, int number) {
        ParseKeyLine(line, &record);
        if (!RecordHoldsKey(record, spacedKey, description)) return true;
        *listedAt = number;
        return false;
      },
      &unfinished);
  if (!read || *listedAt >= 0) return read;
  char key[32];
  strncpy(key, spacedKey, sizeof key - 1);
  key[sizeof key - 1] = '\0';
  StripSpaces(key);
  // A list whose last line lost its line end (in a hand edit, say) gets it back first: the new
  // record starts on a line of its own, and that last line is listed as the record it holds.
  char line[kKeyLineBufferSize + 1] = "\n";
  const size_t start = unfinished ? 1 : 0;
  const DWORD length = static_cast<DWORD>(start + ComposeKeyLine(settings, key, description, line + start));
  DWORD written = 0;
  if (!WriteFile(file.Get(), line, length, &written, nullptr) || written != length) {
    *failure = WithLastError(&UiTextTable::msgKeysFileWriteError);
    return false;
  }
  return true;
}

// Copies every line but line n into a new TmpKeys.data.
bool CopyAllBut(int n, KeyStoreReport* failure) {
  const OwnedHandle file = OpenKeysFile(GENERIC_READ, failure);
  if (!file.Valid()) return false;
  const OwnedHandle temporary(
      CreateFileA(kTmpKeysFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!temporary.Valid()) {
    *failure = Message(&UiTextTable::msgTempFileCreateError);
    return false;
  }
  bool written = true;
  const bool read = EachKeyLine(file.Get(), failure, [&](char* line, int number) {
    if (number == n) return true;
    const size_t length = strlen(line);
    line[length] = '\n';
    DWORD done = 0;
    written = WriteFile(temporary.Get(), line, static_cast<DWORD>(length + 1), &done, nullptr) && done == length + 1;
    if (!written) *failure = WithLastError(&UiTextTable::msgTempFileWriteError);
    return written;
  });
  return read && written;
}

// ---- The encrypted list. Each replacement goes through TmpCrKeys.data, flushed and then renamed
// over its target, which so holds either its old bytes or the new ones whenever the program or the
// machine stops; the temporary file is renamed into place or deleted before the step returns.

bool ReplaceWithTemporary(const char* target) {
  return MoveFileExA(kTmpCrKeysFile, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool ReplaceStoredList(KeyStoreReports* reports) {
  FileToDelete temporary(kTmpCrKeysFile);
  KeyStoreReport failure;
  if (!EncryptKeyFile(kKeysFile, kTmpCrKeysFile, kKeyFilePassPhrase, &failure)) {
    // Two reports: the conversion's step, then that nothing was stored.
    Fail(failure, reports);
    return Fail({&UiTextTable::msgEncryptionFailed, true, failure.code}, reports);
  }
  if (!ReplaceWithTemporary(kCrKeysFile)) return Fail(WithLastError(&UiTextTable::msgCrKeysFileProblem), reports);
  temporary.Keep();
  return true;
}

// 0 when the file is on the disk, else the error code of the open or the flush.
DWORD FlushFile(const char* name) {
  const OwnedHandle file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || !FlushFileBuffers(file.Get())) return GetLastError();
  return ERROR_SUCCESS;
}

// The code of a failure, 0 when the spare copy was replaced.
DWORD ReplaceSpareCopy() {
  FileToDelete temporary(kTmpCrKeysFile);
  if (!CopyFileA(kCrKeysFile, kTmpCrKeysFile, FALSE)) return GetLastError();
  const DWORD flushError = FlushFile(kTmpCrKeysFile);
  if (flushError != ERROR_SUCCESS) return flushError;
  if (!ReplaceWithTemporary(kZipKeysFile)) return GetLastError();
  temporary.Keep();
  return ERROR_SUCCESS;
}

}  // namespace

bool EncryptKeyFile(const char* source, const char* destination, const char* passPhrase, KeyStoreReport* failure) {
  return Convert(source, destination, passPhrase, true, failure);
}

bool DecryptKeyFile(const char* source, const char* destination, const char* passPhrase, KeyStoreReport* failure) {
  return Convert(source, destination, passPhrase, false, failure);
}

namespace {

// Each expects keys.data, decrypted just before, and deletes it when done.
bool ListKeyRecords(KeyRecordList* list, KeyStoreReports* reports) {
  KeyStoreReport failure;
  if (!ReadRecords(list, &failure)) return Fail(failure, reports);
  RemovePlainFiles(reports);
  return true;
}

bool LoadKeyIntoEdits(int record, KeyEditTexts* texts, KeyStoreReports* reports) {
  KeyRecord found;
  if (!LoadRecord(record, &found, reports)) return false;
  ShownKeyText(found, false, texts->key);
  memcpy(texts->description, found.description, sizeof texts->description);
  return true;
}

}  // namespace

bool RemoveKeyLine(int record, KeyStoreReports* reports) {
  KeyStoreReport failure;
  if (!CopyAllBut(record, &failure)) return Fail(failure, reports);
  // One rename puts the shortened list in place, so keys.data is never half written.
  return MoveFileExA(kTmpKeysFile, kKeysFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
         Fail(WithLastError(&UiTextTable::msgKeysFileProblem), reports);
}

AddKeyResult AddKey(const char* spacedKey, const char* description, const KeyLineSettings& settings, int* listedAt,
                    KeyStoreReports* reports) {
  *listedAt = -1;
  if (!DecryptStoredKeys(reports)) return AddKeyResult::kFailed;
  KeyStoreReport failure;
  if (!AppendUnlessListed(spacedKey, description, settings, listedAt, &failure)) {
    Fail(failure, reports);
    return AddKeyResult::kFailed;
  }
  const bool stored = *listedAt >= 0 || StoreEncryptedKeys(reports);
  RemovePlainFiles(reports);
  if (!stored) return AddKeyResult::kFailed;
  return *listedAt >= 0 ? AddKeyResult::kListed : AddKeyResult::kAdded;
}

bool StoreEncryptedKeys(KeyStoreReports* reports) {
  if (!ReplaceStoredList(reports)) return false;
  // The list is stored; a spare copy that was not refreshed is worth a word to the user.
  const DWORD spareError = ReplaceSpareCopy();
  if (spareError != ERROR_SUCCESS) Fail({&UiTextTable::msgZipKeysCopyError, true, spareError}, reports);
  return true;
}

bool RefreshKeysList(KeyRecordList* list, KeyStoreReports* reports) {
  return DecryptStoredKeys(reports) && ListKeyRecords(list, reports);
}

bool ShowKeyRecord(int record, KeyEditTexts* texts, KeyStoreReports* reports) {
  return DecryptStoredKeys(reports) && LoadKeyIntoEdits(record, texts, reports);
}

bool UseKeyRecord(int record, KeyRecord* into, KeyStoreReports* reports) {
  return DecryptStoredKeys(reports) && LoadRecord(record, into, reports);
}

bool RemoveKey(int record, KeyStoreReports* reports) {
  return DecryptStoredKeys(reports) && RemoveKeyLine(record, reports);
}

KeyStoreReports RemovePlainKeyFiles() {
  KeyStoreReports reports;
  RemovePlainFiles(&reports);
  return reports;
}

KeyStoreReports RemoveKeyStoreLeftovers() {
  KeyStoreReports reports = RemovePlainKeyFiles();
  DeleteFileA(kTmpCrKeysFile);
  return reports;
}
