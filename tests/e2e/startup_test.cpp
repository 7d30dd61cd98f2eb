// Scenarios of start-up and shut-down: the main window's class, style and place, the search
// WaitWindow of the first second, the single-instance rule, and a clean end of the process.
#include "harness.h"

#include <tlhelp32.h>

#include <string>

#include "ui/language_config.h"

namespace {

int CountProcesses(const char* exeName) {
  int count = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, exeName) == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

int CountMainWindows() {
  int count = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "my Window", nullptr); w;
       w = FindWindowExA(nullptr, w, "my Window", nullptr)) {
    if (IsWindowVisible(w)) ++count;
  }
  return count;
}

class StartupScenario : public KeyloomScenario {};

TEST_F(StartupScenario, MainWindowHasItsClassStyleSizeAndPlace) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::ClassOf(main), "my Window");
  const LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0);
  EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  RECT rect;
  GetWindowRect(main, &rect);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.right - rect.left, 665);
  EXPECT_EQ(rect.bottom - rect.top, 670);
  EXPECT_EQ(rect.left, screenWidth / 2 - 332);
  EXPECT_EQ(rect.top, screenHeight / 2 - 335);
}

// The search delay shows its WaitWindow for about a second with the main window disabled. The
// program shipped reads no KEYLOOM_TIMINGS: given the short ones, it still waits its real second.
TEST_F(StartupScenario, SearchWaitWindowRunsAboutOneSecond) {
  UseShippedBuild();
  for (Language language : {kRussian, kEnglish}) {
    WriteFile("appconfig.ini", LanguageConfigLine(language));
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND wait = ui::WaitTopWindow(pid(), "msctls_progress32", 3000);
    ASSERT_NE(wait, nullptr) << "no WaitWindow";
    const ULONGLONG seen = GetTickCount64();
    EXPECT_EQ(NextWaitCaption(0), TextIn(shown::kSearchWaitCaption, language));
    EXPECT_FALSE(ui::Enabled(main));
    EXPECT_EQ(GetWindow(wait, GW_OWNER), main);
    RECT rect;
    GetWindowRect(wait, &rect);
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 200);
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 25);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 50);

    ASSERT_TRUE(ui::WaitNoTopWindow(pid(), "msctls_progress32", 5000));
    const ULONGLONG elapsed = GetTickCount64() - seen;
    EXPECT_GT(elapsed, 500u);
    EXPECT_LT(elapsed, 3000u);
    WaitUntilIdle(main);
    EXPECT_TRUE(ui::Enabled(main));

    ui::PostCommand(main, kCommandQuit);
    ASSERT_TRUE(ui::WaitExit(&program(), 10000, nullptr));
  }
}

TEST_F(StartupScenario, SecondStartWithTheSameLanguageBringsTheFirstForward) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(Eventually([&] { return IsIconic(main) != FALSE; }));

  ui::Program& second = StartAnother();
  DWORD code = 99;
  ASSERT_TRUE(ui::WaitExit(&second, 10000, &code)) << "the second instance kept running";
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(Eventually([&] { return !IsIconic(main); })) << "the first window was not restored";
  EXPECT_EQ(CountMainWindows(), 1);
}

TEST_F(StartupScenario, SecondStartWithTheOtherLanguageOpensASecondWindow) {
  HWND first = Start();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ui::Text(first), shown::kWindowTitle.russian);
  WriteFile("appconfig.ini", "Language = EN;\r\n");
  HWND second = Start();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(ui::Text(second), shown::kWindowTitle.english);
  EXPECT_EQ(CountMainWindows(), 2);
}

TEST_F(StartupScenario, ClosingEndsTheProcessCleanly) {
  const struct {
    const char* name;
    bool inTheSearchWait;
    void (*close)(HWND);
  } ways[] = {
      {"Quit from the menu", false, [](HWND main) { ui::PostCommand(main, kCommandQuit); }},
      {"Alt+F4 or the close box", false, [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }},
      {"close during the search wait", true, [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    if (!way.inTheSearchWait) WaitUntilIdle(main);
    way.close(main);
    DWORD code = 99;
    ASSERT_TRUE(ui::WaitExit(&program(), 10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountProcesses("keyloom_test.exe"), 0);
    EXPECT_EQ(CountMainWindows(), 0);
  }
}

}  // namespace
