// The box catcher of the platform tests: every 10 ms it looks for a visible dialog of this
// process, reads its text (static 0xFFFF) and presses OK.
#include "message_box_catcher.h"

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

MessageBoxCatcher::MessageBoxCatcher() : thread_([this] { Run(); }) {}

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
      }
      SendMessageA(search.found, WM_COMMAND, IDOK, 0);
      while (IsWindow(search.found) && !stop_) Sleep(5);
    }
    Sleep(10);
  }
}
