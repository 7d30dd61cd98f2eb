// The text of a run of bytes as the key and data fields show it: upper-case hexadecimal pairs
// separated by single blanks, "11 22 33 44 55 66 77".
#pragma once

#include <cstdint>

// `text` must hold 3 * count bytes (the pairs, the blanks and the terminating NUL).
void HexPairsText(const uint8_t* bytes, int count, char* text);
