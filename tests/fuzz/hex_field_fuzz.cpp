// The hex entry fields: the typing filter removes exactly the characters that are no upper-case
// hex digit, and the commit stores the bytes the typed text names and shows them so that a
// second commit of what the field shows stores the same bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "ui/form_state.h"

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
int Value(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

void CheckCommit(const std::string& typed, const HexFieldLayout& layout) {
  // The edit hands over at most L characters.
  const std::string handed = typed.substr(0, static_cast<size_t>(layout.digitCount));
  uint8_t bytes[8];
  char shown[3 * 8];
  CommitHexText(handed.c_str(), layout, bytes, shown);
  std::string digits = handed;
  digits.resize(static_cast<size_t>(layout.digitCount), 'F');
  for (int i = 0; i < layout.byteCount; ++i) {
    const char high = digits[2 * static_cast<size_t>(i)];
    const char low = digits[2 * static_cast<size_t>(i) + 1];
    FUZZ_CHECK(bytes[i] == ((IsHex(high) ? Value(high) : 0) << 4 | (IsHex(low) ? Value(low) : 0)));
  }
  FUZZ_CHECK(std::strlen(shown) == static_cast<size_t>(3 * layout.byteCount - 1));
  for (int i = 0; i < 3 * layout.byteCount - 1; ++i) FUZZ_CHECK(i % 3 == 2 ? shown[i] == ' ' : IsHex(shown[i]));

  // Entering the field strips the blanks; leaving it again changes nothing.
  char entered[3 * 8];
  std::memcpy(entered, shown, sizeof entered);
  StripSpaces(entered);
  uint8_t again[8];
  char shownAgain[3 * 8];
  CommitHexText(entered, layout, again, shownAgain);
  FUZZ_CHECK(std::memcmp(again, bytes, static_cast<size_t>(layout.byteCount)) == 0);
  FUZZ_CHECK(std::strcmp(shownAgain, shown) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The edit's text as the field reads it: at most 31 characters, up to the first NUL.
  const std::string typed(reinterpret_cast<const char*>(data), std::min<size_t>(size, 31));
  const std::string text = typed.c_str();
  char edit[32] = {};
  std::memcpy(edit, text.data(), text.size());

  // The filter as the field runs it: each change removes the first rejected character.
  std::string accepted;
  for (char c : text) {
    if (IsHex(c)) accepted += c;
  }
  int removals = 0;
  for (int at = FirstRejectedPosition(edit); at >= 0; at = FirstRejectedPosition(edit)) {
    FUZZ_CHECK(!IsAcceptedHexDigit(edit[at]));
    RemoveCharAt(edit, at);
    FUZZ_CHECK(++removals <= 31);
  }
  FUZZ_CHECK(edit == accepted);

  CheckCommit(text, kKeyFieldLayout);
  CheckCommit(text, kDataFieldLayout);
  CheckCommit(accepted, kKeyFieldLayout);
  CheckCommit(accepted, kDataFieldLayout);
  return 0;
}
