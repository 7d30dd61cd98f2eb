// Process control and window inspection for the UI driver: launching, waiting for windows,
// reading texts and states across processes, and posting commands.
#include "uidriver.h"

#include "probe_protocol.h"

namespace ui {

namespace {

struct TopWindowSearch {
  DWORD pid;
  const char* className;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopWindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (search->className && ClassOf(window) != search->className) return TRUE;
  search->found->push_back(window);
  return TRUE;
}

template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Pause(20);
  }
}

// The record of the program's window creations: a block named after it, which the probe DLL's
// creation hook fills inside it. False when it cannot be watched: with no record, every wait
// would pass for closed.
bool WatchCreations(Program* program) {
  char name[64];
  CreationRecordName(program->process.dwProcessId, name, sizeof name);
  program->creationMapping =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CreationRecord), name);
  if (program->creationMapping == nullptr) return false;
  program->creations = static_cast<const CreationRecord*>(
      MapViewOfFile(program->creationMapping, FILE_MAP_READ, 0, 0, sizeof(CreationRecord)));
  static HMODULE probe = LoadLibraryA(ProbeDllPath().c_str());
  auto hook = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "CreationHook"))) : nullptr;
  if (hook) program->creationHook = SetWindowsHookExA(WH_CBT, hook, probe, program->process.dwThreadId);
  return program->creations != nullptr && program->creationHook != nullptr;
}

}  // namespace

void Pause(int ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

bool Launch(const std::string& exe, const std::string& workDir, Program* program) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exe + "\"";
  // Suspended until its window creations are watched, so that none goes unrecorded.
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      workDir.c_str(), &startup, &program->process)) {
    return false;
  }
  program->running = true;
  if (!WatchCreations(program)) {
    Terminate(program);
    return false;
  }
  ResumeThread(program->process.hThread);
  return true;
}

std::vector<std::string> CreatedCaptions(const Program& program, const char* className) {
  std::vector<std::string> captions;
  if (program.creations == nullptr) return captions;
  const LONG count = program.creations->count;
  MemoryBarrier();
  for (LONG i = 0; i < count && i < kCreationRecordEntries; ++i) {
    const CreatedWindowRecord& window = program.creations->windows[i];
    if (lstrcmpiA(window.className, className) == 0) captions.push_back(window.caption);
  }
  return captions;
}

size_t LiveCreated(const Program& program, const char* className) {
  size_t live = 0;
  if (program.creations == nullptr) return live;
  const LONG count = program.creations->count;
  MemoryBarrier();
  for (LONG i = 0; i < count && i < kCreationRecordEntries; ++i) {
    const CreatedWindowRecord& window = program.creations->windows[i];
    if (!window.destroyed && lstrcmpiA(window.className, className) == 0) ++live;
  }
  return live;
}

bool WaitExit(Program* program, int timeoutMs, DWORD* exitCode) {
  if (!program->running) return true;
  if (WaitForSingleObject(program->process.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(program->process.hProcess, exitCode);
  CloseHandle(program->process.hProcess);
  CloseHandle(program->process.hThread);
  program->running = false;
  return true;
}

void Terminate(Program* program) {
  if (program->creationHook) UnhookWindowsHookEx(program->creationHook);
  if (program->creations) UnmapViewOfFile(program->creations);
  if (program->creationMapping) CloseHandle(program->creationMapping);
  program->creationHook = nullptr;
  program->creations = nullptr;
  program->creationMapping = nullptr;
  if (!program->running) return;
  if (WaitForSingleObject(program->process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(program->process.hProcess, 99);
    WaitForSingleObject(program->process.hProcess, 10000);
  }
  CloseHandle(program->process.hProcess);
  CloseHandle(program->process.hThread);
  program->running = false;
}

std::vector<HWND> TopWindows(DWORD pid, const char* className) {
  std::vector<HWND> found;
  TopWindowSearch search = {pid, className, &found};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return found;
}

HWND WaitTopWindow(DWORD pid, const char* className, int timeoutMs) {
  HWND window = nullptr;
  WaitFor([&] {
    std::vector<HWND> found = TopWindows(pid, className);
    if (found.empty()) return false;
    window = found.front();
    return true;
  }, timeoutMs);
  return window;
}

bool WaitNoTopWindow(DWORD pid, const char* className, int timeoutMs) {
  return WaitFor([&] { return TopWindows(pid, className).empty(); }, timeoutMs);
}

HWND WaitMainWindow(const Program& program, int timeoutMs) {
  HWND window = nullptr;
  WaitFor([&] {
    std::vector<HWND> found = TopWindows(program.process.dwProcessId, "my Window");
    if (found.empty() || GetMenu(found.front()) == nullptr) return false;
    window = found.front();
    return true;
  }, timeoutMs);
  return window;
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "";
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  text.resize(copied);
  return text;
}

HWND Control(HWND parent, int id) { return GetDlgItem(parent, id); }
bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

void ClickUpDownArrow(HWND upDown, bool up) {
  RECT rect = {};
  GetClientRect(upDown, &rect);
  const LPARAM point = MAKELPARAM(rect.right / 2, up ? rect.bottom / 4 : rect.bottom * 3 / 4);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, point, SMTO_ABORTIFHUNG, 5000, &ignored);
  SendMessageTimeoutA(upDown, WM_LBUTTONUP, 0, point, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void PostCommand(HWND window, int id, int notification) {
  HWND control = GetDlgItem(window, id);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control));
}

void WaitForMessageLoop(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
}

void SendCommand(HWND window, int id, int notification) {
  HWND control = GetDlgItem(window, id);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control),
                      SMTO_ABORTIFHUNG, 10000, &ignored);
}

}  // namespace ui
