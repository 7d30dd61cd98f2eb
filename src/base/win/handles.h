// Owning types for what the shell must give back (a Win32 handle closed once when its owner goes, a
// file deleted when its owner goes unless kept), and the 8-bit text of the system's ASCII names.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>

// The 8-bit text of a UTF-16 string that holds ASCII only (port names, hardware ids): the low
// byte of each unit up to the first zero unit, or up to `maxUnits` units when there is none.
inline std::string Narrow(const wchar_t* text, size_t maxUnits = static_cast<size_t>(-1)) {
  std::string narrow;
  for (size_t i = 0; i < maxUnits && text[i] != L'\0'; ++i) narrow.push_back(static_cast<char>(text[i] & 0xFF));
  return narrow;
}

// A kernel handle (file, port) that is closed when this goes out of scope or is reset.
// INVALID_HANDLE_VALUE and null both mean "none".
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Gives the handle up without closing it.
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // Closes the handle held, if any, and holds `handle` instead.
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (Valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A file named by a fixed path that is deleted when this goes out of scope, unless Keep was called
// (it was renamed into place, say). Declare it before the OwnedHandle of the same file, so the
// handle is closed first and the delete can succeed.
class FileToDelete {
 public:
  explicit FileToDelete(const char* path) : path_(path) {}
  FileToDelete(const FileToDelete&) = delete;
  FileToDelete& operator=(const FileToDelete&) = delete;
  ~FileToDelete() {
    if (path_ != nullptr) DeleteFileA(path_);
  }
  void Keep() { path_ = nullptr; }

 private:
  const char* path_;
};
