// The end-to-end harness: each scenario gets a fresh working directory, starts the real
// keyloom.exe in it, and every process it started is ended when the scenario is over.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uidriver.h"

class KeyloomScenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts keyloom.exe in the scenario's directory; the main window once it is complete.
  HWND Start();
  // Starts keyloom.exe (in English when asked) and waits until its start-up search is over.
  HWND StartReady(bool english = false);
  // Starts another keyloom.exe in the same directory without waiting for any window.
  ui::Program& StartAnother();
  // The last program started.
  ui::Program& program() { return programs_.back(); }
  DWORD pid() { return program().process.dwProcessId; }

  // Files of the working directory.
  std::string PathOf(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::string ReadFile(const std::string& name) const;
  bool FileExists(const std::string& name) const;
  // Puts the crkeys.data shipped for a new installation into the working directory.
  void InstallShippedKeys() const;

  // Waits for the program's message box and reads it; fails the scenario when none comes.
  ui::MessageBoxView ExpectMessageBox(int timeoutMs = 5000);
  // Waits until the start-up search is over and the main window is enabled again. Unless the
  // scenario is about the reader, the search's reports that no reader was found are answered on the way.
  void WaitUntilIdle(HWND main, int timeoutMs = 10000);
  bool answerSearchReports_ = true;

  std::string keyloomExe_;
  std::string workDir_;
  std::vector<ui::Program> programs_;
};
