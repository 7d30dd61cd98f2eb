// The hexadecimal entry fields of the form (system key and sector data): the text helpers, the
// typing filter and the commit of a typed text into bytes. Portable core; the edits are the shell's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/control_ids.h"

// The two fields: edit identifier, byte count n and digit count L = 2n.
struct HexFieldLayout {
  int editId;
  int byteCount;
  int digitCount;
};

inline constexpr HexFieldLayout kKeyFieldLayout = {kIdKeyEdit, 6, 12};
inline constexpr HexFieldLayout kDataFieldLayout = {kIdDataEdit, 7, 14};

// Removes every blank from a NUL-terminated text in place, keeping the order of the rest.
void StripSpaces(char* text);

// Whether the field accepts a typed character: '0'-'9' and 'A'-'F' only.
bool IsAcceptedHexDigit(char c);

// Position of the first rejected character of a NUL-terminated text, or -1 when all are accepted.
int FirstRejectedPosition(const char* text);

// Removes the character at the position in place; the rest moves one place to the left.
void RemoveCharAt(char* text, int position);

// The commit of a typed text: padded with 'F' to L digits, cut at L, turned into n bytes
// (pairs give high and low four bits; characters other than hex digits count 0).
// Writes the n bytes and the spaced text (3n - 1 characters and a NUL; spacedText holds 3n bytes).
void CommitHexText(const char* typed, const HexFieldLayout& layout, uint8_t* bytes, char* spacedText);
