// The reader's side of the line and its control commands. Commands from the program are
// recognised in the received bytes; the control commands come from the tests, one per line.
#include "simulator.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <sstream>

#include "hex_text.h"

namespace {

constexpr char kHandshake[] = "AT+READS_USB";
// Bytes that never complete a command are not kept for ever.
constexpr size_t kMaxCommandBytes = 4096;

// The wall clock as "seconds.micros" since 1970: the same clock that Wine's system time reads, so
// a program inside the prefix can tell how long after a reply it saw something happen.
std::string WallClockText() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%06lld", micros / 1000000, micros % 1000000);
  return text;
}

void Schedule(Simulator* simulator, const std::string& answer) {
  if (answer.empty()) return;
  simulator->pending.push_back({Clock::now() + std::chrono::milliseconds(simulator->behaviour.delayMs), answer});
}

// The COM name in lower case, as Wine names its dosdevices links ("com5").
std::string LinkPath(const Simulator& simulator, std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return simulator.dosdevices + "/" + name;
}

std::string Plug(Simulator* simulator, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return "error plug COMn";
  Unplug(simulator);
  simulator->dead = false;
  // A reader that was pulled out comes back on a new line.
  if (!PtyLineOpen(simulator->line) && !OpenPtyLine(&simulator->line)) return "error no pseudo-terminal";
  const std::string link = LinkPath(*simulator, name);
  unlink(link.c_str());
  if (symlink(simulator->line.slavePath.c_str(), link.c_str()) != 0) return "error cannot link " + link;
  simulator->pluggedLink = link;
  return "ok " + simulator->line.slavePath;
}

std::string Reset(Simulator* simulator) {
  simulator->behaviour = ReaderBehaviour();
  simulator->cards = CardProgrammer();
  simulator->dead = false;
  simulator->pending.clear();
  simulator->command.clear();
  simulator->received.clear();
  FlushPtyLine(simulator->line);
  return "ok";
}

struct ControlCommand {
  const char* name;
  std::string (*run)(Simulator* simulator, const std::string& argument, const std::string& extra);
};

const ControlCommand kControlCommands[] = {
    {"ping", [](Simulator*, const std::string&, const std::string&) { return std::string("ok"); }},
    {"plug", [](Simulator* s, const std::string& name, const std::string&) { return Plug(s, name); }},
    // "unplug" removes the COM link only. The reader itself goes in one of two ways until it is
    // plugged in again, losing what it was about to send: "silent" keeps its line, so the
    // program's open handle stays usable but gets no answer; "pulled" closes the line, so the
    // handle fails on its next read or write, as a real USB adapter's does when it is pulled out.
    {"unplug",
     [](Simulator* s, const std::string& how, const std::string&) {
       if (!how.empty() && how != "silent" && how != "pulled") return std::string("error unplug [silent|pulled]");
       if (how.empty()) Unplug(s);
       else GoDead(s, how == "pulled");
       return std::string("ok");
     }},
    {"answer",
     [](Simulator* s, const std::string& kind, const std::string& argument) {
       std::string value = argument;
       if (kind == "raw" && !FromHex(argument, &value)) return std::string("error raw needs hex bytes");
       return SetAnswer(&s->behaviour, kind, value) ? std::string("ok") : "error unknown answer " + kind;
     }},
    {"delay",
     [](Simulator* s, const std::string& ms, const std::string&) {
       s->behaviour.delayMs = std::atoi(ms.c_str());
       return std::string("ok");
     }},
    {"send",
     [](Simulator* s, const std::string& hex, const std::string&) {
       std::string bytes;
       if (!FromHex(hex, &bytes)) return std::string("error send needs hex bytes");
       return WritePtyLine(s->line, bytes) ? std::string("ok") : std::string("error write failed");
     }},
    {"received", [](Simulator* s, const std::string&, const std::string&) { return "ok " + ToHex(s->received); }},
    {"clear",
     [](Simulator* s, const std::string&, const std::string&) {
       s->received.clear();
       return std::string("ok");
     }},
    {"sent",
     [](Simulator* s, const std::string&, const std::string&) {
       return "ok " + s->lastSentTime + " " + ToHex(s->lastSentBytes);
     }},
    {"configured",
     [](Simulator* s, const std::string&, const std::string&) {
       const bool configured = LineConfigured(s->line);
       MarkLineUnconfigured(s->line);
       return std::string(configured ? "ok 1" : "ok 0");
     }},
    {"reset", [](Simulator* s, const std::string&, const std::string&) { return Reset(s); }},
    {"card", [](Simulator* s, const std::string&, const std::string& words) { return RunCardControl(s->cards, words, s->pending); }},
};

}  // namespace

void OnLineBytes(Simulator* simulator, const std::string& bytes) {
  if (simulator->frameLog != nullptr) {
    std::fprintf(simulator->frameLog, "%s rx %s\n", WallClockText().c_str(), ToHex(bytes).c_str());
    std::fflush(simulator->frameLog);
  }
  simulator->received += bytes;
  if (simulator->dead) return;
  simulator->command += bytes;
  const size_t at = simulator->command.find(kHandshake);
  if (at != std::string::npos) {
    simulator->command.erase(0, at + sizeof kHandshake - 1);
    Schedule(simulator, HandshakeAnswer(simulator->behaviour));
  }
  if (!TakeCardFrames(simulator->cards, simulator->command, simulator->behaviour.delayMs, simulator->pending)) {
    GoDead(simulator, true);
    return;
  }
  if (simulator->command.size() > kMaxCommandBytes) simulator->command.clear();
}

int SendDueAnswers(Simulator* simulator) {
  ServeWaitingCard(simulator->cards, simulator->pending);
  const Clock::time_point now = Clock::now();
  int next = -1;
  for (auto it = simulator->pending.begin(); it != simulator->pending.end();) {
    if (it->due <= now) {
      WritePtyLine(simulator->line, it->bytes);
      simulator->lastSentTime = WallClockText();
      simulator->lastSentBytes = it->bytes;
      if (simulator->frameLog != nullptr) {
        std::fprintf(simulator->frameLog, "%s tx %s\n", simulator->lastSentTime.c_str(), ToHex(it->bytes).c_str());
        std::fflush(simulator->frameLog);
      }
      it = simulator->pending.erase(it);
      continue;
    }
    const int wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(it->due - now).count()) + 1;
    next = next < 0 ? wait : std::min(next, wait);
    ++it;
  }
  return next;
}

std::string RunControlLine(Simulator* simulator, const std::string& line) {
  std::istringstream words(line);
  std::string name, argument, extra;
  words >> name >> argument >> extra;
  if (name == "card") extra = line.substr(line.find("card") + 4);
  for (const ControlCommand& command : kControlCommands) {
    if (name == command.name) return command.run(simulator, argument, extra);
  }
  return "error unknown command " + name;
}

void Unplug(Simulator* simulator) {
  if (simulator->pluggedLink.empty()) return;
  unlink(simulator->pluggedLink.c_str());
  simulator->pluggedLink.clear();
}

void GoDead(Simulator* simulator, bool pulled) {
  Unplug(simulator);
  simulator->dead = true;
  simulator->pending.clear();
  simulator->cards.waitingFrame.clear();
  if (pulled) ClosePtyLine(&simulator->line);
}
