// The Linux side of the file fault scenarios, through fault_folder.sh: a tiny file system on a
// scenario's folder, filled or made read-only, and keyloom.exe ended by SIGKILL.
#pragma once

#include <string>

// The Linux path of a Windows path, through Wine's own export.
std::string UnixPath(const std::string& windowsPath);
// Starts a Linux command line (Wine starts Linux programs too) in a directory, by default the
// current one; false when it cannot be started. Wine does not follow a Linux program to its end.
bool StartLinux(std::string commandLine, const char* dir = nullptr);

// Starts fault_folder.sh with the words, its status going to the file `status` (a Windows path).
bool StartFaultScript(const std::string& status, const std::string& words);
// Waits until the status file holds a text other than `other`; the text, "" after the time-out.
std::string WaitFaultStatus(const std::string& status, int timeoutMs, const std::string& other = "");
// Both: the status, "ok" when the words were done.
std::string RunFaultScript(const std::string& status, const std::string& words, int timeoutMs = 10000);

// Starts the SIGKILL of this tree's keyloom.exe after `ms` and waits until the killer is ready;
// WaitFaultStatus(status, ..., "ready") then tells "killed PID" or what went wrong.
bool StartKiller(const std::string& status, int ms);

// A 64 KiB file system mounted on a scenario's folder for as long as it lives; `mounted` says
// whether the mount worked and `why` what failed.
struct TinyFolder {
  explicit TinyFolder(const std::string& dir);
  ~TinyFolder();
  bool Fill() { return Run("fill"); }
  bool MakeReadOnly() { return Run("readonly"); }
  bool Run(const std::string& verb);

  std::string dir;
  bool mounted = false;
  std::string why;
};
