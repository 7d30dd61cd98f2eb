// Bytes as the program writes them everywhere it shows or stores them (the form's fields, the
// converter, usersData.data): upper-case hexadecimal digits, in pairs separated by blanks.
#pragma once

#include <cstdint>

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of an upper-case hexadecimal digit; any other character counts 0.
int HexDigitValue(char c);

// "11 22 33 44 55 66 77"; `text` must hold 3 * count bytes (the pairs, the blanks and the NUL).
void HexPairsText(const uint8_t* bytes, int count, char* text);
