// The reader's answers to "AT+READS_USB": it echoes the command, then " - OK! >> " and its
// firmware version, ended by CR LF. The other kinds are the faults the tests ask for.
#include "reader_behaviour.h"

namespace {

struct AnswerName {
  const char* name;
  AnswerKind kind;
};

const AnswerName kAnswerNames[] = {
    {"version", AnswerKind::kVersion}, {"ok", AnswerKind::kOkOnly},     {"unknown", AnswerKind::kUnknownCommand},
    {"garbage", AnswerKind::kGarbage}, {"silent", AnswerKind::kSilent}, {"long", AnswerKind::kLong},
    {"raw", AnswerKind::kRaw},
};

constexpr char kEcho[] = "AT+READS_USB";

}  // namespace

bool SetAnswer(ReaderBehaviour* behaviour, const std::string& name, const std::string& argument) {
  for (const AnswerName& entry : kAnswerNames) {
    if (name != entry.name) continue;
    behaviour->answer = entry.kind;
    if (entry.kind == AnswerKind::kVersion) behaviour->version = argument.empty() ? "1.00" : argument;
    if (entry.kind == AnswerKind::kRaw) behaviour->raw = argument;
    return true;
  }
  return false;
}

std::string HandshakeAnswer(const ReaderBehaviour& behaviour) {
  switch (behaviour.answer) {
    case AnswerKind::kVersion:
      return std::string(kEcho) + " - OK! >> " + behaviour.version + "\r\n";
    case AnswerKind::kOkOnly:
      return std::string(kEcho) + " - OK!\r\n";
    case AnswerKind::kUnknownCommand:
      return std::string(kEcho) + " - UNKNOWN CMD!\r\n";
    case AnswerKind::kGarbage:
      return std::string("\x13\x7f#?~%garbage", 14) + "\r\n";
    case AnswerKind::kSilent:
      return std::string();
    case AnswerKind::kLong:
      return std::string(kEcho) + " - OK! >> " + behaviour.version + " " + std::string(100, '.') + "\r\n";
    case AnswerKind::kRaw:
      return behaviour.raw;
  }
  return std::string();
}
