// What the simulated reader answers to the handshake, as tests set it: the real reader's reply
// with a version, or one of the faulty answers a program must cope with.
#pragma once

#include <string>

enum class AnswerKind { kVersion, kOkOnly, kUnknownCommand, kGarbage, kSilent, kLong, kRaw };

struct ReaderBehaviour {
  AnswerKind answer = AnswerKind::kVersion;
  std::string version = "1.00";
  std::string raw;   // the bytes of a kRaw answer
  int delayMs = 0;   // how long after the command the answer starts
};

// Sets the answer from its name ("version", "ok", "unknown", "garbage", "silent", "long", "raw")
// and its argument (the version, or the raw bytes); false for an unknown name.
bool SetAnswer(ReaderBehaviour* behaviour, const std::string& name, const std::string& argument);

// The bytes the reader sends back after "AT+READS_USB"; empty when it stays silent.
std::string HandshakeAnswer(const ReaderBehaviour& behaviour);
