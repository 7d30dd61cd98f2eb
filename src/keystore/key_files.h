// The names of the key store's files, all in the working directory, and the pass phrase under
// which the stored key list is encrypted.
#pragma once

inline constexpr char kKeysFile[] = "keys.data";
inline constexpr char kTmpKeysFile[] = "TmpKeys.data";
inline constexpr char kCrKeysFile[] = "crkeys.data";
inline constexpr char kZipKeysFile[] = "zipkeys.data";
inline constexpr char kTmpCrKeysFile[] = "TmpCrKeys.data";
inline constexpr char kKeyFilePassPhrase[] = "k%38wR*59?7!62&mzt";
