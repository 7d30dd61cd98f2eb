// bench_keyloom.exe: measures Keyloom under Wine for scripts/bench.sh, one sub-command per measure.
//   startup KEYLOOM.EXE BARE.EXE WORKDIR RUNS
//   session KEYLOOM.EXE WORKDIR CARD_UNIX_PATH LATENCY_OPS OPS KEYS_CYCLES
//   keylist KEYLOOM.EXE WORKDIR
//   usage PID EXE_PATH
// Results come as "RESULT name value" lines on standard output.
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty()) {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "startup") return RunStartupBench(rest);
    if (args[0] == "session") return RunSessionBench(rest);
    if (args[0] == "keylist") return RunKeyListBench(rest);
    if (args[0] == "usage") return RunUsageProbe(rest);
  }
  std::fputs("usage: bench_keyloom startup|session|keylist|usage ...\n", stderr);
  return 2;
}
