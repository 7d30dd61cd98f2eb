// The measuring driver's shared pieces: clocks, medians and percentiles, the result lines that
// scripts/bench.sh turns into its table, and waiting on Keyloom's windows while it works.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "uidriver.h"

namespace bench {

// Milliseconds on the performance counter, for spans measured inside this process.
double NowMs();
// The wall clock in microseconds since 1970: Wine reads the host's clock, so these compare
// with the times the simulated reader reports.
long long WallMicros();

double Median(std::vector<double> values);
// Nearest-rank percentile, p in 0..100.
double Percentile(std::vector<double> values, double p);

// "RESULT name value", one line each, flushed at once.
void Result(const std::string& name, double value);
// A line of progress on standard error.
void Note(const char* format, ...);

// Polls every millisecond until the process shows a visible top-level window of the class;
// nullptr after the time-out.
HWND PollTopWindow(DWORD pid, const char* className, int timeoutMs);
// Returns once the window's thread has finished what it was doing (a sent WM_NULL comes back).
bool Sync(HWND window, int timeoutMs = 120000);
// Answers every box with OK until the main window is enabled, no wait runs and no box is up
// for 300 ms. False after the time-out.
bool SettleIdle(DWORD pid, HWND main, int timeoutMs = 30000);
// Asks the main window to close and waits for the process to end, ending it after 10 s.
void Close(ui::Program* program, HWND main);

}  // namespace bench

// The measurements, each a sub-command of bench_keyloom.exe.
int RunStartupBench(const std::vector<std::string>& args);
int RunSessionBench(const std::vector<std::string>& args);
int RunKeyListBench(const std::vector<std::string>& args);
int RunUsageProbe(const std::vector<std::string>& args);
