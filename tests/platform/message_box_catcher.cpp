// The box catcher of the platform tests: every 10 ms it looks for a visible dialog of this
// process, reads its text (static 0xFFFF), notes the watched files present and presses OK.
#include "message_box_catcher.h"

#include <utility>

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (pid == search->pid && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher(std::vector<std::string> watched)
    : watched_(std::move(watched)), thread_([this] { Run(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> MessageBoxCatcher::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> texts;
  texts.swap(texts_);
  return texts;
}

std::set<std::string> MessageBoxCatcher::TakeFilesSeen() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::set<std::string> files;
  files.swap(filesSeen_);
  return files;
}

void MessageBoxCatcher::Run() {
  while (!stop_) {
    Search search = {GetCurrentProcessId(), nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      char text[1024] = {};
      GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        texts_.push_back(text);
        for (const std::string& name : watched_) {
          if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) filesSeen_.insert(name);
        }
      }
      SendMessageA(search.found, WM_COMMAND, IDOK, 0);
      while (IsWindow(search.found) && !stop_) Sleep(5);
    }
    Sleep(10);
  }
}
