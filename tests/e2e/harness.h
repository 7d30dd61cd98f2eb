// The end-to-end harness: each scenario gets a fresh working directory, starts the real
// keyloom.exe in it, and every process it started is ended when the scenario is over.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_texts.h"
#include "ui/control_ids.h"
#include "ui/win/menu_bar.h"
#include "ui/win/message_box.h"
#include "uidriver.h"

// The program's own waits, handed to it in KEYLOOM_TIMINGS: the hot-plug debounce, the search delay's
// and the handshake wait's ticks, the pause before an open port is reopened, the card wait's tick and
// the pause between the cards of a cyclic run.
struct ProgramTimings {
  int debounceMs;
  int searchTickMs;
  int handshakeTickMs;
  int reopenMs;
  int cardTickMs;
  int cyclicPauseMs;
};
inline constexpr ProgramTimings kRealTimings = {2000, 10, 500, 1000, 50, 1000};
// Short, yet long enough for a scenario to see the search and handshake waits and act in them.
inline constexpr ProgramTimings kShortTimings = {200, 3, 150, 100, 10, 1000};

// The time given to what the program surely does next: long, because a busy machine can be slow to
// show it, and it costs nothing when it comes at once.
inline constexpr int kEventWaitMs = 20000;

// Waits until the condition holds; false after the time-out.
template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = kEventWaitMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    ui::Pause(20);
  }
  return true;
}

// After the event that shows a box would already be there, the time one is still given to show.
inline constexpr int kBoxGraceMs = 300;

// Files by their full paths: the bytes ("" when missing), written whole, whether there.
std::string FileBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// A file beside the test program in the build tree, and the key list shipped for a new installation.
std::string BuildPath(const std::string& relative);
std::string ShippedKeys();

// Whether a check box or radio button is checked.
bool IsChecked(HWND button);
// The window that has the keyboard focus in another process's GUI thread.
HWND FocusOf(HWND window);
// Switches the language from the menu and waits until the title is that language's.
void SwitchLanguage(HWND main, Language language);

// A message box as a scenario expects it: its text and its kind.
struct Box {
  std::string text;
  int kind;
};

class KeyloomScenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Keyloom runs with short waits unless a scenario about one of them asks for the real ones
  // before it starts it.
  void UseRealTimings() { timings_ = kRealTimings; }
  // The program as it is shipped, without the test build's hook: it reads no KEYLOOM_TIMINGS.
  void UseShippedBuild();
  // A pause between cyclic cards long enough for whatever a scenario does in it.
  void UseLongCyclicPause() { timings_.cyclicPauseMs = 30000; }
  const ProgramTimings& timings() const { return timings_; }

  // Starts keyloom.exe in the scenario's directory; the main window once it is complete.
  HWND Start();
  // Starts keyloom.exe (in English when asked, else as its first start does) or in the language, and
  // waits until its start-up search is over.
  HWND StartReady(bool english = false);
  HWND StartIn(Language language);
  // Closes the main window as its close box does; true once the program has ended.
  bool CloseMain(HWND main);
  // Starts another keyloom.exe in the same directory without waiting for any window.
  ui::Program& StartAnother();
  // The last program started.
  ui::Program& program() { return programs_.back(); }
  DWORD pid() { return program().process.dwProcessId; }

  // Files of the working directory.
  std::string PathOf(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& bytes) const { WriteBytes(PathOf(name), bytes); }
  std::string ReadFile(const std::string& name) const { return FileBytes(PathOf(name)); }
  bool FileExists(const std::string& name) const { return Exists(PathOf(name)); }
  // Puts the crkeys.data shipped for a new installation into the working directory.
  void InstallShippedKeys() const { WriteFile("crkeys.data", ShippedKeys()); }

  // Clicks radio button `id` of the main window (also one the view hides, as a key record sets it).
  void ClickRadio(HWND main, int id);

  // How many WaitWindows the program has opened so far, from the record of their creation.
  size_t WaitsOpened() { return ui::CreatedCaptions(program(), "msctls_progress32").size(); }
  // How many WaitWindows exist now: one created but not shown yet counts, one destroyed does not.
  size_t WaitsOpen() { return ui::LiveCreated(program(), "msctls_progress32"); }
  // The caption of the next WaitWindow after `before` of them, from the record of its creation, so
  // that a wait which closed at once is read too; fails the scenario when none opens in time.
  std::string NextWaitCaption(size_t before, int timeoutMs = kEventWaitMs);

  // Waits for the program's message box and reads it; fails the scenario when none comes.
  ui::MessageBoxView ExpectMessageBox(int timeoutMs = kEventWaitMs);
  // The next message box must have exactly this text and kind, and the caption of the language; it
  // is then answered with OK.
  void ExpectBox(const std::string& text, int kind, int timeoutMs = kEventWaitMs, Language language = kEnglish);
  // The boxes one after another, each answered with OK.
  void ExpectBoxes(const std::vector<Box>& boxes, Language language = kEnglish);
  // Opens the keys list window with "Add to list" or "Show list"; null when it does not open.
  HWND OpenKeysList(HWND main, int button);
  // The list's rows once there are `count` of them, or what it shows when they do not come.
  std::vector<std::vector<std::string>> KeysListRows(HWND keys, size_t count);
  // Closes the window and waits until it is gone.
  void CloseKeysList(HWND keys);
  // Waits until the start-up search is over and the main window is enabled again. Unless the
  // scenario is about the reader, the search's reports that no reader was found are answered on the way.
  void WaitUntilIdle(HWND main, int timeoutMs = kEventWaitMs);
  bool answerSearchReports_ = true;
  // No message box is open or opens within the time; meant after an event that shows the program
  // is past the point where one would have come.
  void ExpectNoBox(int ms = kBoxGraceMs);

  ProgramTimings timings_ = kShortTimings;

  std::string keyloomExe_;
  std::string workDir_;
  std::vector<ui::Program> programs_;
};
