// The scenario fixture: a fresh directory under e2e-runs next to the test program for each
// scenario, keyloom.exe started there, and every started process ended afterwards.
#include "harness.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "keystore/win/keys_window.h"
#include "ui/language_config.h"
#include "ui/ui_text.h"

namespace {

enum class NoReaderReport { kNone, kNotFound, kOther };

// The reports of a search that found no reader, in either language; "not found" is always followed
// by the hint to pick a port.
NoReaderReport NoReaderReportOf(const std::string& text) {
  for (Language language : {kRussian, kEnglish}) {
    const UiTextTable& texts = UiTextOf(language);
    if (text == texts.msgTarnelNotFound) return NoReaderReport::kNotFound;
    if (text == texts.msgNoComPorts || text == texts.msgSelectPortHint) return NoReaderReport::kOther;
  }
  return NoReaderReport::kNone;
}

// The static text of a message box.
constexpr int kBoxTextId = 0xFFFF;

}  // namespace

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::string BuildPath(const std::string& relative) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string exe(path);
  return exe.substr(0, exe.find_last_of("\\/") + 1) + relative;
}

std::string ShippedKeys() { return FileBytes(std::string(KEYLOOM_SOURCE_DIR) + "/data/crkeys.data"); }

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void SwitchLanguage(HWND main, Language language) {
  ui::PostCommand(main, language == kEnglish ? kCommandEnglish : kCommandRussian);
  const std::string title = TextIn(shown::kWindowTitle, language);
  EXPECT_TRUE(Eventually([&] { return ui::Text(main) == title; })) << "the title stayed " << ui::Text(main);
}

void KeyloomScenario::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // The build with the test hook compiled in, which takes the scenario's timings.
  keyloomExe_ = BuildPath("keyloom_test.exe");
  workDir_ = BuildPath("e2e-runs\\") + info->test_suite_name() + "." + info->name();
  std::error_code ignored;
  std::filesystem::remove_all(workDir_, ignored);
  std::filesystem::create_directories(workDir_);
}

void KeyloomScenario::UseShippedBuild() { keyloomExe_ = BuildPath("keyloom.exe"); }

void KeyloomScenario::TearDown() {
  for (ui::Program& p : programs_) ui::Terminate(&p);
}

ui::Program& KeyloomScenario::StartAnother() {
  // The program inherits this process's environment.
  const ProgramTimings& t = timings_;
  const std::string timings = "debounce=" + std::to_string(t.debounceMs) + ",searchtick=" +
                              std::to_string(t.searchTickMs) + ",handshaketick=" + std::to_string(t.handshakeTickMs) +
                              ",reopen=" + std::to_string(t.reopenMs) + ",cardtick=" + std::to_string(t.cardTickMs) +
                              ",cyclicpause=" + std::to_string(t.cyclicPauseMs);
  SetEnvironmentVariableA("KEYLOOM_TIMINGS", timings.c_str());
  programs_.emplace_back();
  EXPECT_TRUE(ui::Launch(keyloomExe_, workDir_, &programs_.back())) << "cannot start " << keyloomExe_;
  return programs_.back();
}

HWND KeyloomScenario::Start() {
  StartAnother();
  HWND main = ui::WaitMainWindow(program());
  EXPECT_NE(main, nullptr) << "the main window did not appear";
  // The window shows before its hidden controls are made and its start-up search begins; both
  // are done once it handles messages.
  if (main != nullptr) ui::WaitForMessageLoop(main);
  return main;
}

HWND KeyloomScenario::StartReady(bool english) {
  if (english) WriteFile("appconfig.ini", LanguageConfigLine(kEnglish));
  HWND main = Start();
  if (main != nullptr) WaitUntilIdle(main);
  return main;
}

HWND KeyloomScenario::StartIn(Language language) {
  WriteFile("appconfig.ini", LanguageConfigLine(language));
  return StartReady();
}

bool KeyloomScenario::CloseMain(HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  return ui::WaitExit(&program(), kEventWaitMs, nullptr);
}

std::string KeyloomScenario::PathOf(const std::string& name) const { return workDir_ + "\\" + name; }

void KeyloomScenario::ClickRadio(HWND main, int id) {
  HWND radio = ui::Control(main, id);
  ASSERT_NE(radio, nullptr) << "radio " << id;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(radio, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::string KeyloomScenario::NextWaitCaption(size_t before, int timeoutMs) {
  std::vector<std::string> captions;
  const bool opened = Eventually(
      [&] {
        captions = ui::CreatedCaptions(program(), "msctls_progress32");
        return captions.size() > before;
      },
      timeoutMs);
  EXPECT_TRUE(opened) << "no wait opened";
  return opened ? captions[before] : std::string();
}

ui::MessageBoxView KeyloomScenario::ExpectMessageBox(int timeoutMs) {
  ui::MessageBoxView box;
  EXPECT_TRUE(ui::WaitMessageBox(pid(), timeoutMs, &box, keyloomExe_)) << "no message box appeared";
  return box;
}

void KeyloomScenario::ExpectBox(const std::string& text, int kind, int timeoutMs, Language language) {
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), timeoutMs, &box, keyloomExe_)) << "no box with: " << text;
  EXPECT_EQ(box.caption, TextIn(shown::kMessageCaption, language));
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.iconId, kind) << box.text;
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
}

void KeyloomScenario::ExpectBoxes(const std::vector<Box>& boxes, Language language) {
  for (const Box& box : boxes) {
    ExpectBox(box.text, box.kind, kEventWaitMs, language);
    if (HasFatalFailure()) return;
  }
}

HWND KeyloomScenario::OpenKeysList(HWND main, int button) {
  ui::PostCommand(main, button);
  HWND keys = ui::WaitTopWindow(pid(), kKeysWindowClass, kEventWaitMs);
  EXPECT_NE(keys, nullptr) << "the keys list window did not open";
  return keys;
}

std::vector<std::vector<std::string>> KeyloomScenario::KeysListRows(HWND keys, size_t count) {
  ui::ListViewView view;
  Eventually([&] { return ui::ReadListView(ui::Control(keys, kIdKeysList), &view) && view.rows.size() == count; });
  return view.rows;
}

void KeyloomScenario::CloseKeysList(HWND keys) {
  PostMessageA(keys, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ui::WaitNoTopWindow(pid(), kKeysWindowClass, kEventWaitMs));
}

void KeyloomScenario::ExpectNoBox(int ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    const std::vector<HWND> boxes = ui::TopWindows(pid(), "#32770");
    ASSERT_TRUE(boxes.empty()) << "unexpected box: " << ui::Text(GetDlgItem(boxes.front(), kBoxTextId));
    if (GetTickCount64() >= end) return;
    ui::Pause(20);
  }
}

void KeyloomScenario::WaitUntilIdle(HWND main, int timeoutMs) {
  // Idle must last a moment: a wait's end re-enables the window just before its reports appear.
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  ULONGLONG idleSince = 0;
  bool hintToCome = false;
  for (;;) {
    const bool idle = !hintToCome && ui::Enabled(main) && WaitsOpen() == 0;
    if (!idle) idleSince = 0;
    if (idle && idleSince == 0) idleSince = GetTickCount64();
    if (idle && GetTickCount64() - idleSince >= 300) break;
    ASSERT_LT(GetTickCount64(), end) << "the program stayed busy";
    for (HWND box : ui::TopWindows(pid(), "#32770")) {
      const NoReaderReport report = NoReaderReportOf(ui::Text(GetDlgItem(box, kBoxTextId)));
      if (!answerSearchReports_ || report == NoReaderReport::kNone) continue;
      hintToCome = report == NoReaderReport::kNotFound;
      ui::PressDialogButton(box, IDOK);
    }
    ui::Pause(20);
  }
}
