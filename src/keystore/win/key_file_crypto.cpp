// AES-256-CBC encryption of a whole file in 960-byte chunks under a key the CryptoAPI derives
// from the MD5 of a pass phrase. Every handle and buffer a conversion takes is released once;
// the provider is acquired once for the whole run, as each acquisition costs a handle under Wine.
#include "keystore/win/key_file_crypto.h"

#include <wincrypt.h>

#include <cstdlib>

#include "base/win/handles.h"

namespace {

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

// Ends a conversion at a failed step: the error code is taken before anything else runs, a
// partly written destination is removed, then the step is reported. The code is left as the
// last error for the caller's own report.
bool Fail(Conversion* c, CryptoStep step, const char* destination) {
  const DWORD code = GetLastError();
  const bool created = c->destination.Valid();
  Release(c);
  if (created) DeleteFileA(destination);
  ShowCryptoError(step, code);
  SetLastError(code);
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

bool Convert(const char* sourceName, const char* destinationName, const char* passPhrase,
             bool encrypt) {
  Conversion c;
  c.source.Reset(CreateFileA(sourceName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!c.source.Valid()) return Fail(&c, kStepOpenSource, destinationName);
  LARGE_INTEGER sourceSize;
  if (!GetFileSizeEx(c.source.Get(), &sourceSize)) return Fail(&c, kStepRead, destinationName);
  c.destination.Reset(CreateFileA(destinationName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!c.destination.Valid()) {
    return Fail(&c, kStepOpenDestination, destinationName);
  }
  HCRYPTPROV provider = 0;
  if (!AcquireProvider(&provider)) return Fail(&c, kStepAcquireContext, destinationName);
  if (!CryptCreateHash(provider, CALG_MD5, 0, 0, &c.hash)) {
    return Fail(&c, kStepCreateHash, destinationName);
  }
  if (!CryptHashData(c.hash, reinterpret_cast<const BYTE*>(passPhrase), lstrlenA(passPhrase), 0)) {
    return Fail(&c, kStepHashData, destinationName);
  }
  if (!CryptDeriveKey(provider, CALG_AES_256, c.hash, 0, &c.key)) {
    return Fail(&c, kStepDeriveKey, destinationName);
  }
  const DWORD bufferBytes = encrypt ? kEncryptBufferBytes : kChunkBytes;
  c.buffer = static_cast<BYTE*>(malloc(bufferBytes));
  if (c.buffer == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return Fail(&c, kStepAllocate, destinationName);
  }
  // The last chunk is the one that reaches the end of the source, so a ciphertext whose length
  // is a multiple of the chunk has its padding removed with its own last block: a final
  // decryption of zero bytes after it is not something the provider can be trusted with.
  LONGLONG remaining = sourceSize.QuadPart;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(c.source.Get(), c.buffer, kChunkBytes, &read, nullptr)) {
      return Fail(&c, kStepRead, destinationName);
    }
    remaining -= read;
    const BOOL final = read < kChunkBytes || remaining <= 0;
    DWORD length = read;
    if (encrypt) {
      if (!CryptEncrypt(c.key, 0, final, 0, c.buffer, &length, bufferBytes)) {
        return Fail(&c, kStepEncrypt, destinationName);
      }
    } else if (!CryptDecrypt(c.key, 0, final, 0, c.buffer, &length)) {
      return Fail(&c, kStepDecrypt, destinationName);
    }
    DWORD written = 0;
    if (!WriteFile(c.destination.Get(), c.buffer, length, &written, nullptr) || written != length) {
      return Fail(&c, kStepWrite, destinationName);
    }
    if (final) break;
  }
  // An encrypted list is about to replace the stored one: it must be on the disk first, or a
  // power cut after the replacement could leave crkeys.data empty.
  if (encrypt && !FlushFileBuffers(c.destination.Get())) return Fail(&c, kStepWrite, destinationName);
  Release(&c);
  return true;
}

}  // namespace

bool EncryptKeyFile(const char* source, const char* destination, const char* passPhrase) {
  return Convert(source, destination, passPhrase, true);
}

bool DecryptKeyFile(const char* source, const char* destination, const char* passPhrase) {
  return Convert(source, destination, passPhrase, false);
}
