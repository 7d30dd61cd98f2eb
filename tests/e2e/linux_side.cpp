// Starting the Linux helper of the fault scenarios from under Wine and reading its status file,
// the Linux paths it is given.
#include "linux_side.h"

#include <windows.h>

#include <fstream>
#include <sstream>


namespace {

std::string ReadStatus(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string status = text.str();
  while (!status.empty() && (status.back() == '\n' || status.back() == '\r')) status.pop_back();
  return status;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return std::string();
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unixPath = toUnix(wide.c_str());
  if (unixPath == nullptr) return std::string();
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

bool StartLinux(std::string commandLine, const char* dir) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool StartFaultScript(const std::string& status, const std::string& words) {
  DeleteFileA(status.c_str());
  return StartLinux("Z:\\bin\\sh " + UnixPath(KEYLOOM_SOURCE_DIR) + "/tests/e2e/fault_folder.sh " +
                    UnixPath(status) + " " + words);
}

std::string WaitFaultStatus(const std::string& status, int timeoutMs, const std::string& other) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    std::string text = ReadStatus(status);
    if (!text.empty() && text != other) return text;
    if (GetTickCount64() > end) return "";
    Sleep(1);
  }
}

std::string RunFaultScript(const std::string& status, const std::string& words, int timeoutMs) {
  if (!StartFaultScript(status, words)) return "failed: cannot start fault_folder.sh";
  return WaitFaultStatus(status, timeoutMs);
}

bool StartKiller(const std::string& status, int ms) {
  char prefix[MAX_PATH] = {};
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  return StartFaultScript(status, "kill " + std::string(prefix) + " " + std::to_string(ms)) &&
         WaitFaultStatus(status, 30000) == "ready";
}

TinyFolder::TinyFolder(const std::string& folder) : dir(folder) { mounted = Run("mount"); }

TinyFolder::~TinyFolder() {
  if (mounted) Run("release");
}

bool TinyFolder::Run(const std::string& verb) {
  why = RunFaultScript(dir + ".status", verb + " " + UnixPath(dir));
  return why == "ok";
}

