// The handshake reply classifier against a plain reading of the reader's reply rules: the same
// code for every reply, and the buffer afterwards exactly as the rules leave it.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "protocol/replies.h"

namespace {

// The rules step by step, on a copy padded with zeros as the reply buffer is.
ReplyCode ReferenceClassify(std::vector<char>& padded, int length) {
  auto at = [&](int i) { return i < length ? padded[static_cast<size_t>(i)] : '\0'; };
  auto resumeAfterMismatch = [&](int from, const char* word) {
    int k = 0;
    while (word[k] != '\0' && from + k < length && at(from + k) == word[k]) ++k;
    return word[k] == '\0' ? -1 : from + k + 1;
  };
  int i = 0;
  while (i < length) {
    if (!(at(i) == ' ' && at(i + 1) == '-' && at(i + 2) == ' ')) {
      ++i;
      continue;
    }
    if (i + 3 >= length || (at(i + 3) != 'O' && at(i + 3) != 'U')) {
      i += 4;
      continue;
    }
    const bool ok = at(i + 3) == 'O';
    const int next = resumeAfterMismatch(i + 3, ok ? "OK!" : "UNKNOWN CMD!");
    if (next >= 0) {
      i = next;
      continue;
    }
    if (!ok) return kReplyUnknownCommand;
    if (!(at(i + 6) == ' ' && at(i + 7) == '>' && at(i + 8) == '>' && at(i + 9) == ' ')) {
      return kReplyAcknowledged;
    }
    if (length > i + 10) {
      std::vector<char> moved(padded.begin() + i + 10, padded.begin() + length);
      std::copy(moved.begin(), moved.end(), padded.begin());
    }
    return kReplyHandshake;
  }
  return kReplyNothing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int length = static_cast<int>(size);
  // Exactly the received bytes, so a read past them is caught.
  std::vector<char> buffer(data, data + size);
  std::vector<char> expected(data, data + size);
  const ReplyCode code = ClassifyReply(buffer.data(), length);
  FUZZ_CHECK(code == ReferenceClassify(expected, length));
  FUZZ_CHECK(buffer == expected);
  if (code == kReplyHandshake && size >= 4) {
    FUZZ_CHECK(IsSupportedFirmware(buffer.data()) == (std::memcmp(buffer.data(), "1.00", 4) == 0));
  }
  return 0;
}
