// The probe DLL: a window-procedure hook that the UI driver places on the program's GUI thread.
// Inside that process it reads what another process cannot (menus, combo box items) in 8-bit text.
#include <windows.h>

#include <string>

#include "../probe_protocol.h"

namespace {

void DumpMenu(HMENU menu, int depth, std::string* out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, i, TRUE, &info);
    std::string flags;
    if (info.fType & MFT_SEPARATOR) flags += 'S';
    if (info.fState & MFS_CHECKED) flags += 'C';
    if ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR)) flags += 'G';
    if (info.hSubMenu) flags += 'P';
    const UINT id = info.hSubMenu ? 0 : info.wID;  // a drop-down's id is its menu handle
    *out += std::to_string(depth) + "\t" + std::to_string(id) + "\t" + flags + "\t" + text + "\n";
    if (info.hSubMenu) DumpMenu(info.hSubMenu, depth + 1, out);
  }
}

void DumpComboItems(HWND combo, std::string* out) {
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = "";
    if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text)) {
      SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    }
    *out += std::string(text) + "\n";
  }
}

void Answer(DWORD driverPid) {
  char name[64];
  ProbeBlockName(driverPid, name, sizeof name);
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
  if (mapping == nullptr) return;
  auto* block = static_cast<ProbeBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
  if (block != nullptr) {
    std::string reply;
    if (block->op == kProbeMenuBar) {
      HMENU bar = GetMenu(block->target);
      if (bar) DumpMenu(bar, 0, &reply);
    } else if (block->op == kProbePopupMenu) {
      auto menu = reinterpret_cast<HMENU>(SendMessageA(block->target, MN_GETHMENU, 0, 0));
      if (menu) DumpMenu(menu, 0, &reply);
    } else if (block->op == kProbeComboItems) {
      DumpComboItems(block->target, &reply);
    }
    if (reply.size() >= kProbeReplyBytes) reply.resize(kProbeReplyBytes - 1);
    CopyMemory(block->reply, reply.c_str(), reply.size() + 1);
    block->replyLength = static_cast<int>(reply.size());
    UnmapViewOfFile(block);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageA(kProbeMessageName);
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == probeMessage) Answer(static_cast<DWORD>(call->wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
