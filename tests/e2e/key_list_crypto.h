// The stored key list as the scenarios check it: crkeys.data and zipkeys.data encrypted and
// decrypted whole through the CryptoAPI, under the program's pass phrase.
#pragma once

#include <string>

// False when the bytes do not decrypt whole, as a cut or damaged file does not.
bool DecryptKeyList(const std::string& encrypted, std::string* plain);
std::string EncryptKeyList(const std::string& plain);
