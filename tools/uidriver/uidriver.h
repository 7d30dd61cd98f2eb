// The UI driver: starts Keyloom, finds its windows and controls, reads their texts and states,
// sends commands as a user would, and reads and answers its message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CreationRecord;

namespace ui {

struct Program {
  PROCESS_INFORMATION process = {};
  bool running = false;
  // The record of the top-level windows it creates, kept by the probe DLL inside it.
  HANDLE creationMapping = nullptr;
  const CreationRecord* creations = nullptr;
  HHOOK creationHook = nullptr;
};

// Starts an executable with the given working directory, its window creations recorded from the start.
bool Launch(const std::string& exe, const std::string& workDir, Program* program);
// The captions of the top-level windows of the class that the program has created, in order; a
// window that closed before anyone could look at it is there too.
std::vector<std::string> CreatedCaptions(const Program& program, const char* className);
// How many of those windows exist: created, even if not shown yet, and not yet destroyed.
size_t LiveCreated(const Program& program, const char* className);
// Waits for the process to end; false when it is still running after the time-out.
bool WaitExit(Program* program, int timeoutMs, DWORD* exitCode);
// Ends the process if it still runs and releases its handles.
void Terminate(Program* program);

// Visible top-level windows of a process, optionally of one class.
std::vector<HWND> TopWindows(DWORD pid, const char* className = nullptr);
// Waits for a visible top-level window of the class; nullptr after the time-out.
HWND WaitTopWindow(DWORD pid, const char* className, int timeoutMs);
// Waits until no visible top-level window of the class is left; false after the time-out.
bool WaitNoTopWindow(DWORD pid, const char* className, int timeoutMs);
// The main window once it is visible and its menu bar is attached.
HWND WaitMainWindow(const Program& program, int timeoutMs = 15000);

std::string ClassOf(HWND window);
// Text through WM_GETTEXT, which reads edits and combo boxes of other processes too.
std::string Text(HWND window);
HWND Control(HWND parent, int id);
bool Visible(HWND window);
bool Enabled(HWND window);

// Presses and releases an up-down's arrow (upper or lower half) as the mouse does.
void ClickUpDownArrow(HWND upDown, bool up);

// Posts WM_COMMAND as a menu item, button or control would send it.
void PostCommand(HWND window, int id, int notification = 0);
// Sends it and returns once the window has handled it: for commands that open no box or wait.
void SendCommand(HWND window, int id, int notification = 0);
// Returns once the window's thread is back in a message loop, so that whatever it was handling
// (a posted command, the end of a box) is done.
void WaitForMessageLoop(HWND window);

// A message box of the program: its caption, text and which of the program's icons it shows.
struct MessageBoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  int iconId = 0;  // 3..7 when the icon matches one of the program's icons, else 0
};
// Waits for a message box (#32770) of the process and reads it.
bool WaitMessageBox(DWORD pid, int timeoutMs, MessageBoxView* box, const std::string& iconModule);
// Presses a button of a dialog (1 OK, 6 Yes, 7 No) and waits until the dialog is gone.
bool PressDialogButton(HWND dialog, int id, int timeoutMs = 5000);

// The probe DLL next to the driver, which reads inside the program's own process.
std::string ProbeDllPath();
// Reads inside the program's own process (through the probe DLL).
// Menu bar lines: depth, id, flags (S separator, C checked, G grayed, P popup), text; tab-separated.
std::vector<std::string> MenuBarLines(HWND window);
std::vector<std::string> ComboItems(HWND combo);
// A report list view: its column headers, its rows' cell texts and each row's centre in the
// list's client pixels (of its first cell).
struct ListViewView {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
  std::vector<POINT> centers;
};
bool ReadListView(HWND list, ListViewView* view);
// Clicks (or double-clicks) row `row` of a report list view as the mouse does; false when the
// list or the row cannot be read.
bool ClickListRow(HWND list, int row, bool twice = false);
// The items of an open pop-up menu, from its menu window (class #32768), in the same lines.
std::vector<std::string> PopupMenuLines(HWND menuWindow);

// Sleeps while keeping this thread's message queue alive.
void Pause(int ms);

}  // namespace ui
