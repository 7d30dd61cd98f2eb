// Clocks, statistics, result lines and the waits the measurements share.
#include "bench.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace bench {

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

long long WallMicros() {
  FILETIME time;
  GetSystemTimePreciseAsFileTime(&time);
  const unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<long long>((ticks - 116444736000000000ULL) / 10);
}

double Median(std::vector<double> values) { return Percentile(std::move(values), 50); }

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  if (p == 50 && values.size() % 2 == 0) {
    return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
  }
  size_t rank = static_cast<size_t>(std::ceil(p / 100 * static_cast<double>(values.size())));
  return values[std::min(values.size(), std::max<size_t>(rank, 1)) - 1];
}

void Result(const std::string& name, double value) {
  std::printf("RESULT %s %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

HWND PollTopWindow(DWORD pid, const char* className, int timeoutMs) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    std::vector<HWND> found = ui::TopWindows(pid, className);
    if (!found.empty()) return found.front();
    if (NowMs() > end) return nullptr;
    Sleep(1);
  }
}

bool Sync(HWND window, int timeoutMs) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

bool SettleIdle(DWORD pid, HWND main, int timeoutMs) {
  const double end = NowMs() + timeoutMs;
  double idleSince = -1;
  while (NowMs() < end) {
    bool idle = ui::Enabled(main) && ui::TopWindows(pid, "msctls_progress32").empty();
    for (HWND box : ui::TopWindows(pid, "#32770")) {
      idle = false;
      ui::PressDialogButton(box, IDOK);
    }
    if (!idle) idleSince = -1;
    if (idle && idleSince < 0) idleSince = NowMs();
    if (idle && NowMs() - idleSince >= 300) return true;
    Sleep(10);
  }
  return false;
}

void Close(ui::Program* program, HWND main) {
  if (main != nullptr) PostMessageA(main, WM_CLOSE, 0, 0);
  if (!ui::WaitExit(program, 10000, nullptr)) ui::Terminate(program);
}

}  // namespace bench
