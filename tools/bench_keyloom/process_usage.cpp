// Reads another process's memory and handle figures: the documented calls first, then the
// system handle list, the GDI handle table its PEB points to, its windows and /proc on Z:.
#include "process_usage.h"

#include <winternl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench.h"

namespace {

constexpr ULONG kSystemHandleInformation = 16;

struct SystemHandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE handleFlags;
  USHORT handleValue;
  PVOID objectPointer;
  ULONG accessMask;
};

struct SystemHandleList {
  ULONG count;
  SystemHandleEntry handles[1];
};

using QuerySystemInformation = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryProcessInformation = NTSTATUS(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

FARPROC NtFunction(const char* name) { return GetProcAddress(GetModuleHandleA("ntdll.dll"), name); }

long KernelHandles(DWORD pid) {
  auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(NtFunction("NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<BYTE> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    const NTSTATUS status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < list->count; ++i) count += list->handles[i].ownerPid == pid;
  return count;
}

// The GDI handle table: 65,536 entries of 24 bytes, whose type byte is 0 when the entry is free.
constexpr size_t kGdiEntries = 0x10000;
constexpr size_t kGdiEntryBytes = 24;
constexpr size_t kGdiTypeOffset = 14;
constexpr size_t kPebGdiTableOffset = 0xF8;

long GdiTableEntries(HANDLE process) {
  auto query = reinterpret_cast<QueryProcessInformation>(
      reinterpret_cast<void*>(NtFunction("NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (query == nullptr || query(process, 0, &basic, sizeof basic, nullptr) != 0) return -1;
  BYTE* table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table,
                         sizeof table, &got) || table == nullptr) {
    return -1;
  }
  std::vector<BYTE> entries(kGdiEntries * kGdiEntryBytes);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &got)) return -1;
  long used = 0;
  for (size_t i = 0; i < kGdiEntries; ++i) used += entries[i * kGdiEntryBytes + kGdiTypeOffset] != 0;
  return used;
}

// RssAnon of the Linux process whose command line is the program's Windows path.
double AnonymousKb(const std::string& exePath) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double kb = -1;
  do {
    if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
    const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
    char command[1024] = {};
    if (FILE* f = std::fopen((dir + "\\cmdline").c_str(), "rb")) {
      std::fread(command, 1, sizeof command - 1, f);
      std::fclose(f);
    }
    if (_stricmp(command, exePath.c_str()) != 0) continue;
    if (FILE* f = std::fopen((dir + "\\status").c_str(), "rb")) {
      char line[256];
      while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "RssAnon:", 8) == 0) kb = std::atof(line + 8);
      }
      std::fclose(f);
    }
    break;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return kb;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

struct WindowCount {
  DWORD pid;
  long count;
};

BOOL CALLBACK CountTopWindow(HWND window, LPARAM param) {
  auto* count = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != count->pid) return TRUE;
  ++count->count;
  EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&count->count));
  return TRUE;
}

ProcessUsage SampleOnce(HANDLE process, DWORD pid, const std::string& exePath) {
  ProcessUsage usage;
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    usage.privateKb = static_cast<double>(memory.PrivateUsage) / 1024.0;
  }
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles)) usage.handleCount = static_cast<long>(handles);
  usage.userObjects = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  usage.gdiObjects = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  usage.kernelHandles = KernelHandles(pid);
  usage.gdiTable = GdiTableEntries(process);
  WindowCount count = {pid, 0};
  EnumWindows(CountTopWindow, reinterpret_cast<LPARAM>(&count));
  usage.windows = count.count;
  usage.anonKb = AnonymousKb(exePath);
  return usage;
}

template <typename T>
T MiddleOf(const ProcessUsage (&s)[3], T ProcessUsage::*field) {
  T a = s[0].*field, b = s[1].*field, c = s[2].*field;
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

}  // namespace

ProcessUsage SampleUsage(HANDLE process, DWORD pid, const std::string& exePath) {
  ProcessUsage s[3];
  for (int i = 0; i < 3; ++i) {
    if (i) Sleep(100);
    s[i] = SampleOnce(process, pid, exePath);
  }
  ProcessUsage usage;
  usage.privateKb = MiddleOf(s, &ProcessUsage::privateKb);
  usage.handleCount = MiddleOf(s, &ProcessUsage::handleCount);
  usage.userObjects = MiddleOf(s, &ProcessUsage::userObjects);
  usage.gdiObjects = MiddleOf(s, &ProcessUsage::gdiObjects);
  usage.kernelHandles = MiddleOf(s, &ProcessUsage::kernelHandles);
  usage.gdiTable = MiddleOf(s, &ProcessUsage::gdiTable);
  usage.windows = MiddleOf(s, &ProcessUsage::windows);
  usage.anonKb = MiddleOf(s, &ProcessUsage::anonKb);
  return usage;
}

void ReportUsage(const std::string& prefix, const ProcessUsage& usage) {
  bench::Result(prefix + "_private_kb", usage.privateKb);
  bench::Result(prefix + "_handle_count", usage.handleCount);
  bench::Result(prefix + "_user_objects", usage.userObjects);
  bench::Result(prefix + "_gdi_objects", usage.gdiObjects);
  bench::Result(prefix + "_kernel_handles", usage.kernelHandles);
  bench::Result(prefix + "_gdi_table", usage.gdiTable);
  bench::Result(prefix + "_windows", usage.windows);
  bench::Result(prefix + "_anon_kb", usage.anonKb);
}

int RunUsageProbe(const std::vector<std::string>& args) {
  if (args.size() != 2) return 2;
  const DWORD pid = static_cast<DWORD>(std::stoul(args[0]));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (process == nullptr) return 1;
  ReportUsage("usage", SampleUsage(process, pid, args[1]));
  CloseHandle(process);
  return 0;
}
