// Conversions between the plain key list and its AES-256 encrypted form through the CryptoAPI,
// and the error box that names the step a conversion failed at.
#pragma once

#include <windows.h>

// The steps of a conversion that can fail, each with its own text in the error box.
enum CryptoStep : int {
  kStepOpenSource,
  kStepOpenDestination,
  kStepAcquireContext,
  kStepCreateHash,
  kStepHashData,
  kStepDeriveKey,
  kStepAllocate,
  kStepRead,
  kStepEncrypt,
  kStepDecrypt,
  kStepWrite,
};

// Both return true when the whole source has been converted into the destination. On failure
// the step's error box has been shown and the destination has been deleted.
bool EncryptKeyFile(const char* source, const char* destination, const char* passPhrase);
bool DecryptKeyFile(const char* source, const char* destination, const char* passPhrase);

// The step's text, a line break and "Номер ошибки: 0x%08X.", owned by the keys list window. The
// conversion is over by then, so keys.data and TmpKeys.data are removed before the box shows.
void ShowCryptoError(CryptoStep step, DWORD code);
// The box's text alone, for whoever must compare against it.
void FormatCryptoError(CryptoStep step, DWORD code, char* text, size_t size);
