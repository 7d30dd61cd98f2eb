// AES-256 under the MD5 of the pass phrase, in one piece: the scenarios' lists are small.
#include "key_list_crypto.h"

#include <windows.h>
#include <wincrypt.h>

#include "keystore/key_list.h"

namespace {

// Runs the conversion over the whole of `bytes`, which must have room for one more block.
bool Convert(std::string* bytes, bool encrypt) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, "Microsoft Enhanced RSA and AES Cryptographic Provider",
                            PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
    return false;
  }
  HCRYPTHASH hash = 0;
  HCRYPTKEY key = 0;
  const DWORD length = static_cast<DWORD>(bytes->size());
  DWORD converted = length;
  bytes->resize(length + 16);
  BYTE* data = reinterpret_cast<BYTE*>(&(*bytes)[0]);
  bool done =
      CryptCreateHash(provider, CALG_MD5, 0, 0, &hash) &&
      CryptHashData(hash, reinterpret_cast<const BYTE*>(kKeyFilePassPhrase), sizeof kKeyFilePassPhrase - 1, 0) &&
      CryptDeriveKey(provider, CALG_AES_256, hash, 0, &key);
  if (done) {
    done = encrypt ? CryptEncrypt(key, 0, TRUE, 0, data, &converted, length + 16)
                   : CryptDecrypt(key, 0, TRUE, 0, data, &converted);
  }
  if (key) CryptDestroyKey(key);
  if (hash) CryptDestroyHash(hash);
  CryptReleaseContext(provider, 0);
  bytes->resize(done ? converted : 0);
  return done;
}

}  // namespace

bool DecryptKeyList(const std::string& encrypted, std::string* plain) {
  if (encrypted.empty() || encrypted.size() % 16 != 0) return false;
  *plain = encrypted;
  return Convert(plain, false);
}

std::string EncryptKeyList(const std::string& plain) {
  std::string bytes = plain;
  Convert(&bytes, true);
  return bytes;
}
