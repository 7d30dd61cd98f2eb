// The keys list window with long lists: crkeys.data made with the program's own line composer and
// key file encryption, then "Show list" timed until the window and its rows are shown, and
// "Add new" timed until the list shows the new row.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench.h"
#include "keystore/key_list.h"
#include "keystore/win/key_store.h"

namespace {

constexpr int kOpenRuns = 5;
constexpr int kAddRuns = 5;

// crkeys.data of `records` keys, each with its own key, settings and description.
bool MakeKeyList(const std::string& workDir, int records) {
  const std::string plain = workDir + "\\bench-keys.plain";
  {
    std::ofstream out(plain, std::ios::binary);
    for (int i = 0; i < records; ++i) {
      KeyLineSettings settings;
      settings.outputInterface = static_cast<char>('0' + i % 3);
      settings.workMode = static_cast<char>('0' + i % 4);
      settings.sector = 1 + i % 15;
      settings.block = i % 3;
      char key[13], description[64], line[kKeyLineBufferSize];
      std::snprintf(key, sizeof key, "%06X%06X", i * 7919 % 0xFFFFFF, i);
      std::snprintf(description, sizeof description, "Bench key %05d, entrance %d", i, i % 40);
      out.write(line, static_cast<std::streamsize>(ComposeKeyLine(settings, key, description, line)));
    }
  }
  const std::string target = workDir + "\\" + kCrKeysFile;
  KeyStoreReport failure;
  const bool ok = EncryptKeyFile(plain.c_str(), target.c_str(), kKeyFilePassPhrase, &failure);
  DeleteFileA(plain.c_str());
  return ok;
}

long ItemCount(HWND keys) {
  DWORD_PTR count = 0;
  SendMessageTimeoutA(GetDlgItem(keys, 43), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 120000, &count);
  return static_cast<long>(count);
}

// Paints the window and its controls now, as the user is about to see them.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  bench::Sync(window);
}

// Opens the keys list with the main form's button `id`; the ms until it is shown with `rows` rows.
double TimedOpen(DWORD pid, HWND main, int id, long rows, HWND* keys) {
  const double start = bench::NowMs();
  ui::PostCommand(main, id, BN_CLICKED);
  *keys = bench::PollTopWindow(pid, "my Child Window", 120000);
  if (*keys == nullptr) return -1;
  bench::Sync(*keys);
  PaintNow(*keys);
  const double shown = bench::NowMs();
  const long count = ItemCount(*keys);
  if (count != rows) {
    bench::Note("the keys list shows %ld rows, not %ld", count, rows);
    return -1;
  }
  return shown - start;
}

bool CloseKeys(DWORD pid, HWND main, HWND keys) {
  ui::PostCommand(keys, 46, BN_CLICKED);
  for (const double end = bench::NowMs() + 20000; bench::NowMs() < end;) {
    if (ui::TopWindows(pid, "my Child Window").empty() && ui::Enabled(main)) return true;
    Sleep(2);
  }
  return false;
}

// "Add new" with a description of its own each time; the ms until the list shows the new row.
double TimedAddNew(HWND keys, long rows, int run) {
  const std::string description = "Added by the bench, run " + std::to_string(run);
  SendMessageA(GetDlgItem(keys, 41), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(description.c_str()));
  const double start = bench::NowMs();
  ui::PostCommand(keys, 42, BN_CLICKED);
  for (const double end = start + 120000; bench::NowMs() < end;) {
    if (ItemCount(keys) == rows + 1) {
      PaintNow(keys);
      return bench::NowMs() - start;
    }
    Sleep(1);
  }
  return -1;
}

// One Keyloom session over a list of `records` keys.
bool MeasureList(const std::string& exe, const std::string& workDir, int records, bool addNew) {
  if (!MakeKeyList(workDir, records)) return false;
  ui::Program program;
  if (!ui::Launch(exe, workDir, &program)) return false;
  const DWORD pid = program.process.dwProcessId;
  HWND main = ui::WaitMainWindow(program);
  bool ok = main != nullptr && bench::SettleIdle(pid, main);
  std::vector<double> opens, adds;
  HWND keys = nullptr;
  for (int run = 0; ok && run < kOpenRuns; ++run) {
    const double ms = TimedOpen(pid, main, 22, records, &keys);
    ok = ms >= 0 && CloseKeys(pid, main, keys);
    opens.push_back(ms);
  }
  for (int run = 0; ok && addNew && run < kAddRuns; ++run) {
    ok = TimedOpen(pid, main, 21, records + run, &keys) >= 0;
    const double ms = ok ? TimedAddNew(keys, records + run, run) : -1;
    ok = ms >= 0 && CloseKeys(pid, main, keys);
    adds.push_back(ms);
  }
  bench::Close(&program, main);
  if (!ok) return false;
  bench::Result("keys_open_" + std::to_string(records) + "_ms", bench::Median(opens));
  if (addNew) bench::Result("keys_add_" + std::to_string(records) + "_ms", bench::Median(adds));
  return true;
}

}  // namespace

int RunKeyListBench(const std::vector<std::string>& args) {
  if (args.size() != 2) return 2;
  if (!MeasureList(args[0], args[1], 1000, true)) {
    bench::Note("the keys list of 1,000 records could not be measured");
    return 1;
  }
  if (!MeasureList(args[0], args[1], 10000, false)) {
    bench::Note("the keys list of 10,000 records could not be measured");
    return 1;
  }
  return 0;
}
