// The port list over the registry's SERIALCOMM key: every value is one port the system knows,
// added in the key's order and then sorted by number with the core's rule.
#include "link/win/port_list.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/win/handles.h"
#include "link/port_names.h"
#include "ui/control_ids.h"
#include "ui/win/main_form.h"

namespace {

constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM\\";

// Calls visit with each REG_SZ value under SERIALCOMM until it returns false. The value count
// through the out parameter; false when the key cannot be opened or its buffers not allocated.
template <typename Visit>
bool ForEachSerialPort(DWORD* count, Visit visit) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD longestName = 0;
  DWORD longestData = 0;
  *count = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, count, &longestName, &longestData,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return false;
  }
  // One more unit than the longest data, so that every value ends with a zero unit.
  std::vector<wchar_t> name(longestName + 1);
  std::vector<wchar_t> data(longestData / sizeof(wchar_t) + 2);
  for (DWORD index = 0; index < *count; ++index) {
    DWORD nameLength = longestName + 1;
    DWORD dataSize = longestData;
    DWORD type = 0;
    std::fill(data.begin(), data.end(), L'\0');
    if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &dataSize) != ERROR_SUCCESS || type != REG_SZ) {
      continue;
    }
    if (!visit(data.data())) break;
  }
  RegCloseKey(key);
  return true;
}

}  // namespace

HWND PortList() { return GetDlgItem(g_mainWindow, kIdPortList); }

bool FillPortList(HWND list) {
  DWORD count = 0;
  bool emptied = false;
  const bool opened = ForEachSerialPort(&count, [&](const wchar_t* port) {
    if (!emptied) {
      SendMessageW(list, CB_RESETCONTENT, 0, 0);
      emptied = true;
    }
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
    return true;
  });
  if (!opened) return false;
  if (!emptied) SendMessageW(list, CB_RESETCONTENT, 0, 0);
  if (count == 0) return false;
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  return true;
}

void SortPortList(HWND list) {
  const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  std::vector<std::string> names;
  for (int i = 0; i < count && i < kMaxListedPorts; ++i) {
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) continue;
    std::string name(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
    names.push_back(name);
  }
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : SortedPortNames(names)) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}

void SelectPortInList(HWND list, const char* name, int* index) {
  const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) continue;
    std::string entry(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<size_t>(length));
    if (SamePortName(entry, name)) {
      SendMessageA(list, CB_SETCURSEL, i, 0);
      *index = i;
      return;
    }
  }
}

void RefreshPortList() {
  HWND list = PortList();
  EnableWindow(list, TRUE);
  if (FillPortList(list)) {
    SortPortList(list);
    return;
  }
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}

bool IsPortPresent(const char* name) {
  DWORD count = 0;
  bool present = false;
  ForEachSerialPort(&count, [&](const wchar_t* port) {
    present = SamePortName(Narrow(port), name);
    return !present;
  });
  return present;
}
