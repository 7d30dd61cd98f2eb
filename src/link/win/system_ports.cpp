// The port list over the registry's SERIALCOMM key, and the reader's port over SetupAPI: the
// present USB devices of all classes, each one's hardware ids and the "PortName" of its hardware key.
#include "link/win/system_ports.h"

#include <windows.h>

#include <setupapi.h>

#include "base/win/handles.h"

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

constexpr DWORD kHardwareIdBytes = 1024;
constexpr DWORD kPortNameBytes = 40;

// The device's "PortName" as 8-bit text; empty when it cannot be read or is not a string.
std::string ReadPortName(HKEY deviceKey) {
  wchar_t value[kPortNameBytes / sizeof(wchar_t) + 1] = {};
  DWORD size = kPortNameBytes;
  DWORD type = 0;
  if (RegQueryValueExW(deviceKey, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::string();
  }
  return Narrow(value, kPortNameBytes / sizeof(wchar_t));
}

}  // namespace

bool ListSystemPorts(std::vector<std::string>* ports) {
  DWORD count = 0;
  ports->clear();
  const bool opened = ForEachSerialPort(&count, [&](const wchar_t* port) {
    ports->push_back(Narrow(port));
    return true;
  });
  return opened && count > 0;
}

bool IsPortPresent(const std::string& name) {
  DWORD count = 0;
  bool present = false;
  ForEachSerialPort(&count, [&](const wchar_t* port) {
    present = SamePortName(Narrow(port), name);
    return !present;
  });
  return present;
}

bool FindReaderPort(std::string* portName, const ReaderIdentity& identity) {
  HDEVINFO devices = SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (devices == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    wchar_t hardwareIds[kHardwareIdBytes / sizeof(wchar_t) + 1] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_HARDWAREID, nullptr,
                                           reinterpret_cast<BYTE*>(hardwareIds), kHardwareIdBytes, nullptr)) {
      continue;
    }
    HKEY deviceKey = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    // A device whose key cannot be opened is passed over; the devices after it still count.
    if (deviceKey == INVALID_HANDLE_VALUE) continue;
    const std::string port = ReadPortName(deviceKey);
    if (IsUsablePortName(port) &&
        MatchesReaderHardwareId(Narrow(hardwareIds, kHardwareIdBytes / sizeof(wchar_t)), identity)) {
      *portName = port;
      found = true;
    }
    RegCloseKey(deviceKey);
  }
  SetupDiDestroyDeviceInfoList(devices);
  return found;
}
