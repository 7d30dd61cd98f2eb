// The key list scenarios' tools. The list is converted with AES-256 under the MD5 of the pass
// phrase in one piece: the scenarios' lists are small.
#include "key_list_scenario.h"

#include <wincrypt.h>

#include <commctrl.h>

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

HWND KeyListScenario::OpenKeys(HWND main, int button, int rows) {
  HWND keys = OpenKeysList(main, button);
  if (keys == nullptr) return nullptr;
  ui::WaitForMessageLoop(keys);
  EXPECT_TRUE(rows < 0 || WaitRows(keys, rows)) << "the list does not show " << rows << " rows";
  return keys;
}

KeyRows KeyListScenario::Rows(HWND keys) {
  ui::ListViewView view;
  EXPECT_TRUE(ui::ReadListView(ui::Control(keys, kIdKeysList), &view));
  return view.rows;
}

bool KeyListScenario::WaitRows(HWND keys, size_t count) {
  return Eventually([&] {
    return static_cast<size_t>(SendMessageA(ui::Control(keys, kIdKeysList), LVM_GETITEMCOUNT, 0, 0)) == count;
  });
}

void KeyListScenario::ClickRow(HWND keys, int row, bool twice) {
  HWND list = ui::Control(keys, kIdKeysList);
  // The probe that reads the list can miss its time on a busy machine: it is asked again.
  ASSERT_TRUE(Eventually([&] { return ui::ClickListRow(list, row, twice); })) << "row " << row << " was not clicked";
  EXPECT_TRUE(Eventually([&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; }))
      << "row " << row << " was not selected";
  ui::WaitForMessageLoop(keys);
}

void KeyListScenario::Press(HWND keys, int id) {
  ASSERT_TRUE(Eventually([&] { return ui::Enabled(ui::Control(keys, id)); })) << "button " << id << " is disabled";
  ui::PostCommand(keys, id, BN_CLICKED);
}

ui::MessageBoxView KeyListScenario::AskRemoval(HWND keys, int row) {
  ClickRow(keys, row);
  Press(keys, kIdKeysRemove);
  const std::string number = "[" + std::string(4 - std::to_string(row).size(), '0') + std::to_string(row) + "] ";
  // On a busy machine the start-up search may report only now that it found no reader.
  ui::MessageBoxView box;
  while (ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_) && box.text.rfind(number, 0) != 0) {
    ui::PressDialogButton(box.window, IDOK);
  }
  EXPECT_EQ(box.text.rfind(number, 0), 0u) << "no question before the removal: " << box.text;
  return box;
}

void KeyListScenario::ExpectStoredFilesClean() {
  EXPECT_EQ(ReadFile("crkeys.data"), ReadFile("zipkeys.data"));
  for (const char* name : {"keys.data", "TmpCrKeys.data", "TmpKeys.data"}) EXPECT_FALSE(FileExists(name)) << name;
}
