// The driver's side of the probe: hooks the program's GUI thread with the probe DLL, asks one
// question through the registered message and reads the reply from the shared block.
#include <sstream>

#include "probe_protocol.h"
#include "uidriver.h"

namespace ui {

std::string ProbeDllPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + "uiprobe.dll";
}

namespace {

std::vector<std::string> Ask(HWND window, int op, HWND target) {
  std::vector<std::string> lines;
  char name[64];
  ProbeBlockName(GetCurrentProcessId(), name, sizeof name);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeBlock), name);
  if (mapping == nullptr) return lines;
  auto* block = static_cast<ProbeBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
  HMODULE dll = LoadLibraryA(ProbeDllPath().c_str());
  auto hook = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "ProbeHook"))) : nullptr;
  if (block && hook) {
    block->op = op;
    block->target = target;
    block->replyLength = -1;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK installed = SetWindowsHookExA(WH_CALLWNDPROC, hook, dll, thread);
    if (installed) {
      DWORD_PTR ignored;
      SendMessageTimeoutA(window, RegisterWindowMessageA(kProbeMessageName), GetCurrentProcessId(), 0,
                          SMTO_ABORTIFHUNG, 5000, &ignored);
      UnhookWindowsHookEx(installed);
    }
    if (block->replyLength >= 0) {
      std::istringstream reply(std::string(block->reply, block->replyLength));
      for (std::string line; std::getline(reply, line);) lines.push_back(line);
    }
  }
  if (block) UnmapViewOfFile(block);
  if (dll) FreeLibrary(dll);
  CloseHandle(mapping);
  return lines;
}

}  // namespace

std::vector<std::string> MenuBarLines(HWND window) { return Ask(window, kProbeMenuBar, window); }

std::vector<std::string> PopupMenuLines(HWND menuWindow) { return Ask(menuWindow, kProbePopupMenu, menuWindow); }

std::vector<std::string> ComboItems(HWND combo) { return Ask(GetAncestor(combo, GA_ROOT), kProbeComboItems, combo); }

bool ReadListView(HWND list, ListViewView* view) {
  *view = ListViewView{};
  const std::vector<std::string> lines = Ask(GetAncestor(list, GA_ROOT), kProbeListView, list);
  if (lines.empty()) return false;
  auto split = [](const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.push_back("");
    return fields;
  };
  view->headers = split(lines[0]);
  for (size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string> fields = split(lines[i]);
    if (fields.size() < 2) return false;
    view->centers.push_back(POINT{std::stoi(fields[0]), std::stoi(fields[1])});
    view->rows.emplace_back(fields.begin() + 2, fields.end());
  }
  return true;
}

bool ClickListRow(HWND list, int row, bool twice) {
  ListViewView view;
  if (!ReadListView(list, &view) || row < 0 || static_cast<size_t>(row) >= view.centers.size()) return false;
  const LPARAM point = MAKELPARAM(view.centers[row].x, view.centers[row].y);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(list, WM_LBUTTONUP, 0, point);
  if (twice) {
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
  }
  return true;
}

}  // namespace ui
