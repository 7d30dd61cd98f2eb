// Runs the built setup program and its uninstaller under Wine and reads back the shortcuts
// (through the shell's IShellLink), the Uninstall entry and the running processes.
#include "installation.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <filesystem>
#include <functional>
#include <set>

#include "harness.h"

namespace install {

namespace {

// The test program is 64-bit, as the setup program is: both see the 64-bit registry.
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Keyloom";

std::string SetupPath() { return BuildPath("dist\\keyloom-1.01-setup.exe"); }

// The limited token linked to this process's elevated one.
HANDLE LimitedToken() {
  HANDLE own = nullptr;
  HANDLE primary = nullptr;
  TOKEN_LINKED_TOKEN linked = {};
  DWORD size = 0;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own) &&
      GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size)) {
    DuplicateTokenEx(linked.LinkedToken, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary, &primary);
    CloseHandle(linked.LinkedToken);
  }
  if (own != nullptr) CloseHandle(own);
  return primary;
}

bool StartProcess(std::string commandLine, PROCESS_INFORMATION* process, Rights rights = Rights::kElevated) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (rights == Rights::kElevated) {
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != 0;
  }
  HANDLE token = LimitedToken();
  const bool started = token != nullptr && CreateProcessAsUserA(token, nullptr, &commandLine[0], nullptr, nullptr,
                                                                 FALSE, 0, nullptr, nullptr, &startup, process);
  if (token != nullptr) CloseHandle(token);
  return started;
}

// Waits for a process started here to end; its exit code, -1 when it ran past the time-out (then it is ended).
int WaitForExitCode(PROCESS_INFORMATION* process) {
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process->hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process->hProcess, &exitCode);
  } else {
    TerminateProcess(process->hProcess, 99);
  }
  CloseHandle(process->hProcess);
  CloseHandle(process->hThread);
  return static_cast<int>(exitCode);
}

std::set<DWORD> ProcessIds() {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    ids.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

std::string CommonFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

}  // namespace

bool StartSetup(const std::string& arguments, Rights rights, ui::Program* setup) {
  setup->running = StartProcess("\"" + SetupPath() + "\" " + arguments, &setup->process, rights);
  return setup->running;
}

int RunSetup(const std::string& arguments, Rights rights) {
  PROCESS_INFORMATION process = {};
  if (!StartProcess("\"" + SetupPath() + "\" " + arguments, &process, rights)) return -1;
  return WaitForExitCode(&process);
}

bool UninstallQuietly() {
  const std::set<DWORD> before = ProcessIds();
  PROCESS_INFORMATION process = {};
  if (!StartProcess(EntryText("QuietUninstallString"), &process)) return false;
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // The uninstaller runs on from a copy of itself in the temporary folder.
  const ULONGLONG end = GetTickCount64() + 60000;
  for (;;) {
    const std::set<DWORD> now = ProcessIds();
    bool newcomer = false;
    for (DWORD id : now) newcomer = newcomer || before.count(id) == 0;
    if (!newcomer && !EntryExists()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(100);
  }
}

int RunUninstaller(const std::string& folder, Rights rights) {
  const std::string programFolder = folder + "\\program";
  PROCESS_INFORMATION process = {};
  if (!StartProcess("\"" + programFolder + "\\uninstall.exe\" /S _?=" + programFolder, &process, rights)) return -1;
  return WaitForExitCode(&process);
}

bool StartOnAnotherDesktop(const std::string& exe, const std::string& workDir, ui::Program* program) {
  static char name[] = "Keyloom elsewhere";
  static const HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop == nullptr) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.lpDesktop = name;
  std::string commandLine = "\"" + exe + "\"";
  program->running = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                    workDir.c_str(), &startup, &program->process) != 0;
  return program->running && WaitForInputIdle(program->process.hProcess, 20000) == 0;
}

bool ReadShortcut(const std::string& path, Shortcut* shortcut) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* link = nullptr;
  bool read = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      const std::wstring widePath(path.begin(), path.end());
      if (SUCCEEDED(file->Load(widePath.c_str(), STGM_READ))) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        shortcut->target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        shortcut->workDir = text;
        link->GetIconLocation(text, MAX_PATH, &shortcut->iconIndex);
        shortcut->iconPath = text;
        read = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return read;
}

std::vector<std::string> ShortcutPaths() {
  return {CommonFolder(CSIDL_COMMON_PROGRAMS) + "\\Keyloom.lnk",
          CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Keyloom.lnk"};
}

bool EntryExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::string EntryText(const char* name) {
  char value[1024] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return "(none)";
  }
  return value;
}

DWORD EntryNumber(const char* name) {
  DWORD value = 0xFFFFFFFF;
  DWORD size = sizeof value;
  RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value,
               &size);
  return value;
}

std::map<std::string, std::string> Traces(const std::string& folder) {
  std::map<std::string, std::string> traces;
  auto file = [&](const std::string& path) {
    const std::string bytes = FileBytes(path);
    traces[path] = Exists(path) ? std::to_string(bytes.size()) + " bytes, hash " +
                                      std::to_string(std::hash<std::string>()(bytes))
                                : "missing";
  };
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
    if (entry.is_regular_file()) file(entry.path().string());
  }
  for (const std::string& path : ShortcutPaths()) file(path);
  for (const char* name : {"InstallLocation", "UninstallString", "DisplayIcon"}) {
    traces[std::string("Uninstall entry: ") + name] = EntryText(name);
  }
  return traces;
}

void RemoveInstallation(const std::vector<std::string>& folders) {
  for (const std::string& path : ShortcutPaths()) DeleteFileA(path.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  std::error_code ignored;
  for (const std::string& folder : folders) std::filesystem::remove_all(folder, ignored);
}

}  // namespace install
