// A working session of Keyloom with the simulated reader plugged in: master-card writes, each
// timed from the reader's last reply byte to the result box on screen, then the keys list window
// opened and closed again and again, with the process's memory and handles sampled after the start,
// after the card operations and after the keys window cycles.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "bench.h"
#include "process_usage.h"
#include "reader_fixture.h"

namespace {

constexpr char kOperationSuccessful[] = "The operation was successful!";
constexpr char kDatOk[] = "\rAT+DAT_OK";

// Wall-clock microseconds of the reader's last reply, when that reply carried "\rAT+DAT_OK".
bool LastReplyTime(long long* micros) {
  const std::string answer = simreader::Control("sent");
  // "ok SECONDS.MICROS HEX"
  const size_t dot = answer.find('.');
  const size_t space = answer.find(' ', 3);
  if (answer.compare(0, 3, "ok ") != 0 || dot == std::string::npos || space == std::string::npos) return false;
  std::string bytes;
  for (size_t i = space + 1; i + 1 < answer.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(answer.substr(i, 2), nullptr, 16)));
  }
  if (bytes.find(kDatOk) == std::string::npos) return false;
  *micros = std::atoll(answer.substr(3, dot - 3).c_str()) * 1000000 + std::atoll(answer.substr(dot + 1, 6).c_str());
  return true;
}

// One write of the master card; its latency in ms, or a negative number when it went wrong.
double TimedCardWrite(DWORD pid, HWND main) {
  ui::PostCommand(main, 9, BN_CLICKED);
  HWND box = nullptr;
  for (const double end = bench::NowMs() + 20000; box == nullptr && bench::NowMs() < end;) {
    std::vector<HWND> boxes = ui::TopWindows(pid, "#32770");
    if (!boxes.empty()) box = boxes.front();
    else Sleep(1);
  }
  const long long shown = bench::WallMicros();
  if (box == nullptr) return -1;
  const std::string text = ui::Text(GetDlgItem(box, 0xFFFF));
  long long sent = 0;
  const bool replied = LastReplyTime(&sent);
  ui::PressDialogButton(box, IDOK);
  if (text != kOperationSuccessful || !replied) {
    bench::Note("card write: box \"%s\"", text.c_str());
    return -1;
  }
  return static_cast<double>(shown - sent) / 1000.0;
}

// Opens the keys list with "Show list" and closes it with "Cancel"; false when it did not open.
bool KeysWindowCycle(DWORD pid, HWND main) {
  ui::PostCommand(main, 22, BN_CLICKED);
  HWND keys = bench::PollTopWindow(pid, "my Child Window", 20000);
  if (keys == nullptr) return false;
  bench::Sync(keys);
  ui::PostCommand(keys, 46, BN_CLICKED);
  for (const double end = bench::NowMs() + 10000; bench::NowMs() < end;) {
    if (ui::TopWindows(pid, "my Child Window").empty() && ui::Enabled(main)) return true;
    Sleep(2);
  }
  return false;
}

}  // namespace

int RunSessionBench(const std::vector<std::string>& args) {
  if (args.size() != 6) return 2;
  const std::string& exe = args[0];
  const std::string& workDir = args[1];
  const std::string& card = args[2];
  const int latencyOps = std::atoi(args[3].c_str());
  const int ops = std::atoi(args[4].c_str());
  const int keysCycles = std::atoi(args[5].c_str());

  simreader::Clean();
  if (!simreader::PlugReader("COM7") || !simreader::ControlOk("card present " + card)) {
    bench::Note("the simulated reader is not ready");
    return 1;
  }
  ui::Program program;
  if (!ui::Launch(exe, workDir, &program)) return 1;
  const DWORD pid = program.process.dwProcessId;
  HWND main = ui::WaitMainWindow(program);
  int status = 0;
  if (main == nullptr || !bench::SettleIdle(pid, main)) {
    bench::Note("Keyloom did not come up");
    status = 1;
  }
  // Card type "Master", chosen as a user does.
  if (status == 0) {
    SendMessageA(ui::Control(main, 8), CB_SETCURSEL, 0, 0);
    ui::PostCommand(main, 8, CBN_SELCHANGE);
    bench::Sync(main);
    Sleep(500);
    ReportUsage("after_start", SampleUsage(program.process.hProcess, pid, exe));
  }
  std::vector<double> latencies;
  for (int op = 0; status == 0 && op < ops; ++op) {
    const double ms = TimedCardWrite(pid, main);
    if (ms < 0 || !bench::SettleIdle(pid, main)) {
      status = 1;
      break;
    }
    if (op < latencyOps) latencies.push_back(ms);
  }
  if (status == 0) {
    bench::Result("reply_to_box_median_ms", bench::Median(latencies));
    bench::Result("reply_to_box_p95_ms", bench::Percentile(latencies, 95));
    bench::Result("reply_to_box_max_ms", bench::Percentile(latencies, 100));
    Sleep(500);
    ReportUsage("after_cards", SampleUsage(program.process.hProcess, pid, exe));
  }
  for (int cycle = 0; status == 0 && cycle < keysCycles; ++cycle) {
    if (!KeysWindowCycle(pid, main)) {
      bench::Note("the keys list window did not open and close (cycle %d)", cycle);
      status = 1;
    }
  }
  if (status == 0) {
    Sleep(500);
    ReportUsage("after_keys", SampleUsage(program.process.hProcess, pid, exe));
  }
  bench::Close(&program, main);
  simreader::Clean();
  return status;
}
