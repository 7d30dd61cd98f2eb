// The UI driver as a command-line program, for scripts and for looking at a running Keyloom by hand:
// prints the main window's title and menu, the open message box, or sends a command or a button press.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "uidriver.h"

namespace {

HWND FindKeyloom(DWORD* pid) {
  HWND window = FindWindowA("my Window", nullptr);
  if (window) GetWindowThreadProcessId(window, pid);
  return window;
}

int Usage() {
  std::puts("usage: uidriver title | menu | command ID | box | press ID | select TYPE MODE | check ID 0|1 |\n"
            "       rect CLASS | post CLASS ID");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  DWORD pid = 0;
  HWND main = FindKeyloom(&pid);
  if (main == nullptr) {
    std::puts("Keyloom is not running");
    return 1;
  }
  const std::string verb = argv[1];
  if (verb == "title") {
    std::printf("%s\n", ui::Text(main).c_str());
  } else if (verb == "menu") {
    for (const std::string& line : ui::MenuBarLines(main)) std::printf("%s\n", line.c_str());
  } else if (verb == "command" && argc == 3) {
    ui::PostCommand(main, std::atoi(argv[2]));
  } else if (verb == "select" && argc == 4) {
    // Card type and work mode chosen as a user would, which switches the form's view.
    SendMessageA(ui::Control(main, 8), CB_SETCURSEL, std::atoi(argv[2]), 0);
    SendMessageA(ui::Control(main, 14), CB_SETCURSEL, std::atoi(argv[3]), 0);
    ui::PostCommand(main, 14, CBN_SELCHANGE);
  } else if (verb == "check" && argc == 4) {
    SendMessageA(ui::Control(main, std::atoi(argv[2])), BM_SETCHECK, std::atoi(argv[3]), 0);
  } else if (verb == "box") {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string module(exe);
    module = module.substr(0, module.find_last_of("\\/") + 1) + "keyloom.exe";
    ui::MessageBoxView box;
    if (!ui::WaitMessageBox(pid, 0, &box, module)) return 1;
    std::printf("caption: %s\nicon: %d\ntext: %s\n", box.caption.c_str(), box.iconId, box.text.c_str());
  } else if (verb == "press" && argc == 3) {
    HWND box = ui::WaitTopWindow(pid, "#32770", 0);
    return box && ui::PressDialogButton(box, std::atoi(argv[2])) ? 0 : 1;
  } else if (verb == "rect" && argc == 3) {
    // Where a window of the program stands on the screen: x y width height, for cropping screenshots.
    HWND window = ui::WaitTopWindow(pid, argv[2], 5000);
    RECT r;
    if (window == nullptr || !GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  } else if (verb == "post" && argc == 4) {
    // A command to another window of the program, such as the keys list or a dialog.
    HWND window = ui::WaitTopWindow(pid, argv[2], 5000);
    if (window == nullptr) return 1;
    ui::PostCommand(window, std::atoi(argv[3]));
  } else {
    return Usage();
  }
  return 0;
}
