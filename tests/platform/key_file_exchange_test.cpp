// The encrypted key list against other holders of the same format: the crkeys.data shipped
// for a new installation, and files exchanged with the openssl command-line tool.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "keystore/win/key_store.h"

namespace {

// Record 0 of a new installation: the settings of a fresh form and the transport key.
std::string ShippedRecordZero() {
  char line[kKeyLineBufferSize];
  return std::string(line, ComposeKeyLine(KeyLineSettings{}, "FFFFFFFFFFFF", "Factory key", line));
}

std::string Slurp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const std::string kShipped = std::string(KEYLOOM_SOURCE_DIR) + "/data/crkeys.data";

TEST(ShippedKeyList, DecryptsToRecordZero) {
  const std::string plain = std::string(KEYLOOM_SOURCE_DIR) + "/data/shipped-check.tmp";
  KeyStoreReport failure;
  ASSERT_TRUE(DecryptKeyFile(kShipped.c_str(), plain.c_str(), kKeyFilePassPhrase, &failure));
  const std::string bytes = Slurp(plain);
  DeleteFileA(plain.c_str());
  EXPECT_EQ(bytes, "OI=0 LL=0 DI=0 SB=0 WM=0 SN=01 BN=0 M_KEY=FFFFFFFFFFFF Description=Factory key\n");
  EXPECT_EQ(bytes, ShippedRecordZero());
}

// Writes data/crkeys.data anew when KEYLOOM_WRITE_SHIPPED_KEYS is set.
TEST(KeyFileTool, WriteShippedKeyList) {
  if (getenv("KEYLOOM_WRITE_SHIPPED_KEYS") == nullptr) GTEST_SKIP();
  const std::string plain = std::string(KEYLOOM_SOURCE_DIR) + "/data/record0.tmp";
  std::ofstream(plain, std::ios::binary) << ShippedRecordZero();
  KeyStoreReport failure;
  EXPECT_TRUE(EncryptKeyFile(plain.c_str(), kShipped.c_str(), kKeyFilePassPhrase, &failure));
  DeleteFileA(plain.c_str());
}

// Run by openssl_exchange.sh with KEYLOOM_EXCHANGE_DIR: encrypts its "plain" into
// "program.enc" and decrypts the "openssl.enc" that openssl wrote into "openssl.dec".
TEST(KeyFileTool, ConvertForOpenssl) {
  const char* dir = getenv("KEYLOOM_EXCHANGE_DIR");
  if (dir == nullptr) GTEST_SKIP();
  const std::string at = std::string(dir) + "/";
  KeyStoreReport failure;
  EXPECT_TRUE(EncryptKeyFile((at + "plain").c_str(), (at + "program.enc").c_str(), kKeyFilePassPhrase, &failure));
  EXPECT_TRUE(DecryptKeyFile((at + "openssl.enc").c_str(), (at + "openssl.dec").c_str(), kKeyFilePassPhrase, &failure));
}

}  // namespace
