// The error box of a failed key file conversion: the step's text, which reads the same in both
// interface languages, and the error number. Compiled into Windows-1251 bytes.
#include <cstdio>

#include "keystore/win/key_file_crypto.h"
#include "keystore/win/keys_window.h"
#include "keystore/win/plain_key_files.h"
#include "ui/ui_text.h"
#include "ui/win/message_box.h"

namespace {

const char* const kStepTexts[] = {
    "Ошибка открытия исходного текстового файла!",
    "Ошибка открытия файла назначения!",
    "Ошибка во время CryptAcquireContext!",
    "Ошибка во время CryptCreateHash!",
    "Ошибка во время CryptHashData!",
    "Ошибка во время CryptDeriveKey!",
    "Недостаточно памяти!",
    "Ошибка чтения открытого текста!",
    "Ошибка во время CryptEncrypt!",
    "Ошибка во время CryptDecrypt!",
    "Ошибка записи зашифрованного текста!",
};

}  // namespace

void FormatCryptoError(CryptoStep step, DWORD code, char* text, size_t size) {
  snprintf(text, size, "%s", WithErrorCode(ErrorCodeForm::kCryptoStep, kStepTexts[step], code).c_str());
}

void ShowCryptoError(CryptoStep step, DWORD code) {
  RemovePlainKeyFiles();
  char text[256];
  FormatCryptoError(step, code, text, sizeof text);
  ShowMessage(KeysWindowHandle(), text, UiText.messageCaption, MB_OK, kMessageError);
}
