// The WaitWindow under Wine: which timer ids open one, its caption and range, the main window
// disabled meanwhile; other ids open nothing and leave the main window alone; one wait at a time.
#include <gtest/gtest.h>

#include "ui/win/main_form.h"

#include <commctrl.h>

#include "app/win/main_window.h"
#include "ui/ui_text.h"

namespace {

class WaitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_instance = GetModuleHandleA(nullptr);
    g_mainWindow = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                   g_instance, nullptr);
    g_language = kEnglish;
    SelectUiText();
    // No tick comes during a test.
    SetTimings(Timings{60000, 60000, 60000, 60000, 60000});
  }
  void TearDown() override {
    KillAllTimers();
    DestroyWindow(g_mainWindow);
    SetTimings(Timings{});
  }
};

TEST_F(WaitsTest, OnlyTimersOneTwoAndFourOpenAWaitWindow) {
  struct Case {
    int timer;
    const char* caption;
    int rangeMax;
  } cases[] = {
      {1, "Search for Tarnel reader", 100},
      {2, "Reading Tarnel settings", 2},
      {4, "Present the card to the reader...", 165},
      {3, nullptr, 0},
      {5, nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenWait(c.timer), c.caption != nullptr) << c.timer;
    if (c.caption == nullptr) {
      EXPECT_EQ(g_waitWindow, nullptr) << c.timer;
      EXPECT_TRUE(IsWindowEnabled(g_mainWindow)) << c.timer;
      continue;
    }
    ASSERT_NE(g_waitWindow, nullptr) << c.timer;
    char caption[64] = "";
    GetWindowTextA(g_waitWindow, caption, sizeof caption);
    EXPECT_STREQ(caption, c.caption);
    EXPECT_EQ(SendMessageA(g_waitWindow, PBM_GETRANGE, FALSE, 0), c.rangeMax);
    EXPECT_EQ(GetWindowLongA(g_waitWindow, GWL_STYLE) & (WS_CHILD | PBS_SMOOTH), PBS_SMOOTH);
    EXPECT_EQ(GetWindow(g_waitWindow, GW_OWNER), g_mainWindow);
    EXPECT_FALSE(IsWindowEnabled(g_mainWindow));
    KillAllTimers();
    EXPECT_EQ(g_waitWindow, nullptr) << c.timer;
    EnableWindow(g_mainWindow, TRUE);
  }
}

TEST_F(WaitsTest, OneWaitAtATime) {
  ASSERT_TRUE(OpenWait(kTimerSearchDelay));
  const HWND first = g_waitWindow;
  for (int timer : {kTimerSearchDelay, kTimerHandshakeWait, kTimerCardWait}) {
    EXPECT_FALSE(OpenWait(timer)) << timer;
    EXPECT_EQ(g_waitWindow, first) << timer;
  }
  int progressWindows = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM count) {
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpiA(className, PROGRESS_CLASSA) == 0) ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&progressWindows));
  EXPECT_EQ(progressWindows, 1);
}

}  // namespace
