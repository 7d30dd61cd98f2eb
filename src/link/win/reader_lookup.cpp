// Walks the present USB devices of all classes with SetupAPI, reads each one's hardware ids and
// the "PortName" of its hardware key, and keeps the port of the last device that is the reader.
#include "link/win/reader_lookup.h"

#include <windows.h>

#include <setupapi.h>

#include "base/win/handles.h"

namespace {

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
