// The installer scenarios' view of the system: the setup program and the uninstaller run as an
// administrator would, and what they leave behind read back (files, shortcuts, the Uninstall entry).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "uidriver.h"

namespace install {

inline constexpr char kDefaultFolder[] = "C:\\Keyloom ver_1_01";
inline constexpr char kHelpFile[] = "help\\Keyloom ver_1_01.pdf";

// The rights a run gets: an administrator's elevated ones, or the limited token that User Account
// Control gives an administrator's programs that are not run as administrator.
enum class Rights { kElevated, kLimited };

// Starts the setup program with these arguments (its pages, unless they say /S).
bool StartSetup(const std::string& arguments, Rights rights, ui::Program* setup);
// Runs the setup program with these arguments and waits for it; its exit code, -1 on a time-out.
int RunSetup(const std::string& arguments, Rights rights = Rights::kElevated);
// Runs the uninstaller silently as its Uninstall entry says; true once the entry is gone and no
// process the uninstaller started is left.
bool UninstallQuietly();
// Runs the uninstaller of the installation in folder silently in place (_?=), which waits until
// it is done, and returns its exit code (-1 on a time-out).
int RunUninstaller(const std::string& folder, Rights rights = Rights::kElevated);

// Starts a program on a desktop of its own, where no window of this desktop finds it (as another
// user's session would), and waits until it is ready for input.
bool StartOnAnotherDesktop(const std::string& exe, const std::string& workDir, ui::Program* program);

struct Shortcut {
  std::string target;
  std::string workDir;
  std::string iconPath;
  int iconIndex = -1;
};
bool ReadShortcut(const std::string& path, Shortcut* shortcut);
// The Start-menu and the desktop shortcut, both for all users.
std::vector<std::string> ShortcutPaths();

// The program's entry under the system's Uninstall key (the 64-bit view).
bool EntryExists();
std::string EntryText(const char* name);
DWORD EntryNumber(const char* name);

// What an installation leaves on the system, to compare before and after a run: each file under
// the folder and each shortcut with its size and a hash of its bytes, and the Uninstall entry's texts.
std::map<std::string, std::string> Traces(const std::string& folder);

// Every trace of an installation gone: shortcuts, Uninstall entry and these folders.
void RemoveInstallation(const std::vector<std::string>& folders);

}  // namespace install
