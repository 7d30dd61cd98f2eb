// Start-up: from CreateProcess to the main window shown, for keyloom.exe and for the bare window
// program, started in turn so that both meet the same load. Keyloom shows its window only once
// the form with its controls and menu is built, so the window's visibility marks the end.
#include <cstdlib>

#include "bench.h"

namespace {

struct Subject {
  const char* name;
  std::string exe;
  const char* windowClass;
  std::vector<double> times;
};

// Milliseconds from the start of the process to its visible main window; negative on failure.
double TimeOneStart(Subject& subject, const std::string& workDir) {
  ui::Program program;
  const double start = bench::NowMs();
  if (!ui::Launch(subject.exe, workDir, &program)) return -1;
  HWND window = bench::PollTopWindow(program.process.dwProcessId, subject.windowClass, 20000);
  const double shown = bench::NowMs();
  if (window != nullptr && GetMenu(window) == nullptr && std::string(subject.windowClass) == "my Window") {
    window = nullptr;  // visible before its menu bar: not the complete form
  }
  bench::Close(&program, window);
  return window != nullptr ? shown - start : -1;
}

}  // namespace

int RunStartupBench(const std::vector<std::string>& args) {
  if (args.size() != 4) return 2;
  Subject subjects[] = {{"bare", args[1], "bare Window", {}}, {"keyloom", args[0], "my Window", {}}};
  const std::string& workDir = args[2];
  const int runs = std::atoi(args[3].c_str());
  // Two starts of each first, so that both find the wineserver and the file cache warm.
  for (int warm = 0; warm < 2; ++warm) {
    for (Subject& subject : subjects) TimeOneStart(subject, workDir);
  }
  for (int run = 0; run < runs; ++run) {
    for (Subject& subject : subjects) {
      const double ms = TimeOneStart(subject, workDir);
      if (ms < 0) {
        bench::Note("%s did not show its window", subject.name);
        return 1;
      }
      subject.times.push_back(ms);
    }
  }
  for (Subject& subject : subjects) {
    bench::Result(std::string("startup_") + subject.name + "_ms", bench::Median(subject.times));
    bench::Result(std::string("startup_") + subject.name + "_min_ms", bench::Percentile(subject.times, 0));
  }
  return 0;
}
