// The timings' lookup and the reading of the shortened periods that tests set in the environment;
// a period given wrongly keeps its real value rather than stopping the program.
#include "link/timings.h"

#include <cstring>
#include <string>

namespace {

constexpr long kLongestTimingMs = 60000;

struct TimingName {
  const char* name;
  int Timings::*field;
};

const TimingName kTimingNames[] = {
    {"debounce", &Timings::debounceMs},       {"searchtick", &Timings::searchTickMs},
    {"handshaketick", &Timings::handshakeTickMs}, {"reopen", &Timings::reopenPauseMs},
    {"cardtick", &Timings::cardTickMs},       {"cyclicpause", &Timings::cyclicPauseMs},
};

// The milliseconds of a value made of digits only, in 1..kLongestTimingMs; 0 otherwise.
int ParseMilliseconds(const std::string& text) {
  if (text.empty()) return 0;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > kLongestTimingMs) return 0;
  }
  return static_cast<int>(value);
}

void ApplyPair(const std::string& pair, Timings* timings) {
  const size_t equals = pair.find('=');
  if (equals == std::string::npos) return;
  const int ms = ParseMilliseconds(pair.substr(equals + 1));
  if (ms == 0) return;
  const std::string name = pair.substr(0, equals);
  for (const TimingName& timing : kTimingNames) {
    if (name == timing.name) timings->*(timing.field) = ms;
  }
}

}  // namespace

const WaitTiming* FindWaitTiming(int timer) {
  for (const WaitTiming& wait : kWaitTimings) {
    if (wait.timer == timer) return &wait;
  }
  return nullptr;
}

Timings ParseTimings(const char* text) {
  Timings timings;
  if (text == nullptr) return timings;
  std::string pair;
  for (const char* c = text;; ++c) {
    if (*c == '\0' || *c == ' ' || *c == ',') {
      ApplyPair(pair, &timings);
      pair.clear();
      if (*c == '\0') break;
    } else {
      pair.push_back(*c);
    }
  }
  return timings;
}
