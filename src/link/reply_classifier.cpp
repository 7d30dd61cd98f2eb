// Scans a reply for " - OK!", " >> " and " - UNKNOWN CMD!" in the reader's own order: a failed
// partial match resumes just after the character that broke it, so markers inside it are skipped.
#include "link/reply_classifier.h"

#include <cstring>

namespace {

constexpr char kMarkerLead[] = " - ";
constexpr char kOkRest[] = "OK!";
constexpr char kUnknownRest[] = "UNKNOWN CMD!";
constexpr char kVersionMarker[] = " >> ";
constexpr int kLeadLength = 3;
constexpr int kVersionMarkerLength = 4;

// How many characters of the word match at position, stopping at the reply's end.
int MatchLength(const char* buffer, int length, int position, const char* word) {
  int matched = 0;
  while (word[matched] != '\0' && position + matched < length && buffer[position + matched] == word[matched]) {
    ++matched;
  }
  return matched;
}

}  // namespace

ReplyCode ClassifyReply(char* buffer, int length) {
  int i = 0;
  while (i < length) {
    if (MatchLength(buffer, length, i, kMarkerLead) != kLeadLength) {
      ++i;
      continue;
    }
    const int decisive = i + kLeadLength;
    if (decisive >= length) {
      i += 4;
      continue;
    }
    const char* rest = buffer[decisive] == 'O' ? kOkRest : buffer[decisive] == 'U' ? kUnknownRest : nullptr;
    if (rest == nullptr) {
      i += 4;
      continue;
    }
    const int restLength = static_cast<int>(std::strlen(rest));
    const int matched = MatchLength(buffer, length, decisive, rest);
    if (matched < restLength) {
      i = decisive + matched + 1;
      continue;
    }
    if (rest == kUnknownRest) return kReplyUnknownCommand;
    // Past the received length the zero-filled buffer can hold no marker, so nothing beyond it is read.
    const int versionAt = decisive + restLength;
    if (MatchLength(buffer, length, versionAt, kVersionMarker) != kVersionMarkerLength) return kReplyAcknowledged;
    const int textAt = versionAt + kVersionMarkerLength;
    if (length > textAt) std::memmove(buffer, buffer + textAt, static_cast<size_t>(length - textAt));
    return kReplyHandshake;
  }
  return kReplyNothing;
}

bool IsSupportedFirmware(const char* text) {
  return std::strncmp(text, kSupportedFirmware, 4) == 0;
}
