// The fixture talks to the simulator over Winsock on 127.0.0.1, opening each connection with the
// simulator's cookie, and writes the registry itself: Wine's SetupAPI enumerates the devices
// recorded under HKLM\System\CurrentControlSet\Enum\USB that carry a ClassGUID.
#include "reader_fixture.h"

#include <winsock2.h>

#include <cstdlib>

namespace simreader {
namespace {

constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr wchar_t kUsbDeviceKey[] = L"System\\CurrentControlSet\\Enum\\USB\\VID_2E3C&PID_5750";

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool SetString(HKEY key, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ) {
  return RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The device's own key with its hardware id and class; null when it cannot be created.
HKEY CreateUsbDevice(const std::string& instance, const std::string& hardwareId) {
  const std::wstring path = std::wstring(kUsbDeviceKey) + L"\\" + Widen(instance);
  HKEY device = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &device, nullptr) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  // A multi-string: the id, then an empty string ending the list.
  const std::wstring ids = Widen(hardwareId) + std::wstring(1, L'\0');
  bool ok = SetString(device, L"HardwareID", ids, REG_MULTI_SZ);
  ok = SetString(device, L"DeviceDesc", L"Tarnel USB serial port") && ok;
  // Wine's SetupAPI lists a device only with a class; this is the class of serial ports.
  ok = SetString(device, L"ClassGUID", L"{4d36e978-e325-11ce-bfc1-08002be10318}") && ok;
  if (!ok) {
    RegCloseKey(device);
    return nullptr;
  }
  return device;
}

SOCKET ConnectControl() {
  static bool started = false;
  if (!started) {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  const char* port = std::getenv("KEYLOOM_SIMREADER_PORT");
  if (port == nullptr) return INVALID_SOCKET;
  SOCKET control = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(control, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(control);
    return INVALID_SOCKET;
  }
  return control;
}

}  // namespace

std::string Control(const std::string& line) {
  const char* cookie = std::getenv("KEYLOOM_SIMREADER_COOKIE");
  return ControlPresenting(cookie ? cookie : "", line);
}

std::string ControlPresenting(const std::string& cookie, const std::string& line) {
  SOCKET control = ConnectControl();
  if (control == INVALID_SOCKET) return std::string();
  const std::string request = cookie + "\n" + line + "\n";
  send(control, request.data(), static_cast<int>(request.size()), 0);
  std::string answer;
  char c;
  while (recv(control, &c, 1, 0) == 1 && c != '\n') answer.push_back(c);
  closesocket(control);
  return answer;
}

bool ControlOk(const std::string& line) { return Control(line).compare(0, 2, "ok") == 0; }

bool SetSerialPorts(const std::vector<std::string>& portNames) {
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSerialCommKey);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool ok = true;
  for (size_t i = 0; i < portNames.size(); ++i) {
    ok = SetString(key, L"\\Device\\KeyloomSerial" + std::to_wstring(i), Widen(portNames[i])) && ok;
  }
  RegCloseKey(key);
  return ok;
}

bool AddUsbDevice(const std::string& instance, const std::string& hardwareId, const std::string& portName) {
  HKEY device = CreateUsbDevice(instance, hardwareId);
  if (device == nullptr) return false;
  HKEY parameters = nullptr;
  bool ok = RegCreateKeyExW(device, L"Device Parameters", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parameters,
                            nullptr) == ERROR_SUCCESS;
  if (ok) {
    ok = SetString(parameters, L"PortName", Widen(portName));
    RegCloseKey(parameters);
  }
  RegCloseKey(device);
  return ok;
}

bool AddUsbDeviceWithoutHardwareKey(const std::string& instance, const std::string& hardwareId) {
  HKEY device = CreateUsbDevice(instance, hardwareId);
  if (device == nullptr) return false;
  RegCloseKey(device);
  return true;
}

void RemoveUsbDevices() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUsbDeviceKey); }

bool LinkPort(const std::string& portName) { return ControlOk("plug " + portName); }

void UnlinkPort() { Control("unplug"); }

bool PlugReader(const std::string& portName, const std::vector<std::string>& otherPorts) {
  std::vector<std::string> ports = otherPorts;
  ports.push_back(portName);
  return LinkPort(portName) && SetSerialPorts(ports) && AddUsbDevice("KeyloomSim1", kReaderHardwareId, portName);
}

void UnplugReader(const std::vector<std::string>& otherPorts) {
  UnlinkPort();
  SetSerialPorts(otherPorts);
  RemoveUsbDevices();
}

bool PullReader(const std::vector<std::string>& otherPorts) {
  UnplugReader(otherPorts);
  return ControlOk("unplug pulled");
}

void Clean() {
  UnplugReader();
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSerialCommKey);
  Control("reset");
}

void DeliverDeviceChange(HWND mainWindow) { PostMessageA(mainWindow, WM_DEVICECHANGE, 0x0007, 0); }

}  // namespace simreader
