// A file association of the prefix, replaced for a scenario and put back afterwards. Wine's own
// prefix hands PDF files to its web browser bridge, and has no program for tables.
#include "file_association.h"

#include <windows.h>

namespace {

constexpr char kTestProgId[] = "KeyloomTest.Viewer";
constexpr char kTestProgIdKey[] = "Software\\Classes\\KeyloomTest.Viewer";
constexpr char kTestCommandKey[] = "Software\\Classes\\KeyloomTest.Viewer\\shell\\open\\command";

bool SetDefault(const char* path, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

}  // namespace

FileAssociation::FileAssociation(const std::string& extension, Kind kind, const std::string& copyTo)
    : extensionKey_("Software\\Classes\\" + extension) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, extensionKey_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    char value[256] = "";
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
      original_ = value;
    }
    RegCloseKey(key);
  }
  if (kind == kNoViewer) {
    ready_ = RegDeleteTreeA(HKEY_LOCAL_MACHINE, extensionKey_.c_str()) == ERROR_SUCCESS || original_.empty();
    return;
  }
  const std::string command = kind == kBrokenViewer
                                  ? std::string("\"C:\\windows\\win.ini\" \"%1\"")
                                  : "C:\\windows\\system32\\cmd.exe /c copy /y \"%1\" \"" + copyTo + "\"";
  ready_ = SetDefault(kTestCommandKey, command) && SetDefault(extensionKey_.c_str(), kTestProgId);
}

FileAssociation::~FileAssociation() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestProgIdKey);
  if (original_.empty()) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, extensionKey_.c_str());
  } else {
    SetDefault(extensionKey_.c_str(), original_);
  }
}
