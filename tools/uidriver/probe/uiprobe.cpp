// The probe DLL: hooks that the UI driver places on the program's GUI thread. Inside that process
// they read what another process cannot (menus, combo box items) in 8-bit text, and record every
// top-level window as it is created.
#include <windows.h>
#include <commctrl.h>

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

// Tab-separated lines: the column headers, then for each row the centre of its first cell in
// client pixels and its cell texts.
void DumpListView(HWND list, std::string* out) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int c = 0; c < columns; ++c) {
    char text[256] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    *out += (c ? "\t" : "") + std::string(text);
  }
  *out += "\n";
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    RECT rect = {};
    rect.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, r, reinterpret_cast<LPARAM>(&rect));
    *out += std::to_string((rect.left + rect.right) / 2) + "\t" + std::to_string((rect.top + rect.bottom) / 2);
    for (int c = 0; c < columns; ++c) {
      char text[512] = "";
      LVITEMA item = {};
      item.iSubItem = c;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
      *out += "\t" + std::string(text);
    }
    *out += "\n";
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
    } else if (block->op == kProbeListView) {
      DumpListView(block->target, &reply);
    }
    if (reply.size() >= kProbeReplyBytes) reply.resize(kProbeReplyBytes - 1);
    CopyMemory(block->reply, reply.c_str(), reply.size() + 1);
    block->replyLength = static_cast<int>(reply.size());
    UnmapViewOfFile(block);
  }
  CloseHandle(mapping);
}

// The record the driver made for this process, mapped once.
CreationRecord* Record() {
  static CreationRecord* record = [] {
    char name[64];
    CreationRecordName(GetCurrentProcessId(), name, sizeof name);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    return mapping ? static_cast<CreationRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(CreationRecord)))
                   : nullptr;
  }();
  return record;
}

void RecordCreation(HWND window, const CREATESTRUCTA* create) {
  CreationRecord* record = Record();
  if (record == nullptr || (create->style & WS_CHILD) || record->count >= kCreationRecordEntries) return;
  CreatedWindowRecord& entry = record->windows[record->count];
  GetClassNameA(window, entry.className, sizeof entry.className);
  entry.caption[0] = '\0';
  // A dialog's caption may be a resource id rather than a text.
  if (create->lpszName != nullptr && HIWORD(reinterpret_cast<ULONG_PTR>(create->lpszName)) != 0) {
    lstrcpynA(entry.caption, create->lpszName, sizeof entry.caption);
  }
  entry.window = reinterpret_cast<ULONGLONG>(window);
  entry.destroyed = 0;
  MemoryBarrier();
  record->count = record->count + 1;
}

void RecordDestruction(HWND window) {
  CreationRecord* record = Record();
  if (record == nullptr) return;
  for (LONG i = record->count - 1; i >= 0; --i) {
    CreatedWindowRecord& entry = record->windows[i];
    if (entry.window == reinterpret_cast<ULONGLONG>(window) && !entry.destroyed) {
      entry.destroyed = 1;
      return;
    }
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    RecordCreation(reinterpret_cast<HWND>(wParam), reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs);
  } else if (code == HCBT_DESTROYWND) {
    RecordDestruction(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageA(kProbeMessageName);
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == probeMessage) Answer(static_cast<DWORD>(call->wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
