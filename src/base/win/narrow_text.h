// The 8-bit text of a UTF-16 string that holds ASCII only (port names, hardware ids): the low
// byte of each unit up to the first zero unit, or up to `maxUnits` units when there is none.
#pragma once

#include <cstddef>
#include <string>

inline std::string Narrow(const wchar_t* text, size_t maxUnits = static_cast<size_t>(-1)) {
  std::string narrow;
  for (size_t i = 0; i < maxUnits && text[i] != L'\0'; ++i) narrow.push_back(static_cast<char>(text[i] & 0xFF));
  return narrow;
}
