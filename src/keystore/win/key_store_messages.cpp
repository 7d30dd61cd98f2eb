// The key store's error reports, shown through the message helper over the keys list window.
// The error code is formatted as eight upper-case hexadecimal digits.
#include "keystore/win/key_store_messages.h"

#include <cstdio>

#include "keystore/win/keys_window.h"
#include "keystore/win/plain_key_files.h"
#include "ui/ui_text.h"
#include "ui/win/message_box.h"

namespace {

void ShowKeyStoreError(const char* text) {
  ShowMessage(KeysWindowHandle(), text, UiText.messageCaption, MB_OK, kMessageError);
}

}  // namespace

bool ReportKeyStoreFailure(const KeyStoreFailure& failure) {
  RemovePlainKeyFiles();
  if (failure.withCode) {
    ShowKeyStoreErrorCode(failure.text, failure.code);
  } else {
    ShowKeyStoreError(failure.text);
  }
  return false;
}

void ShowKeyStoreErrorCode(const char* text, DWORD code) {
  ShowKeyStoreError(WithErrorCode(ErrorCodeForm::kGetLastError, text, code).c_str());
}
