// The WaitWindow under Wine: which timer ids open one, its caption and range, the main window
// disabled meanwhile; other ids open nothing and leave the main window alone.
#include <gtest/gtest.h>

#include "ui/win/app_window.h"

#include <commctrl.h>

#include "app/win/waits.h"
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
  }
  void TearDown() override {
    KillAllTimers();
    if (g_waitWindow) DestroyWindow(g_waitWindow);
    g_waitWindow = nullptr;
    g_waitTicks = 0;
    DestroyWindow(g_mainWindow);
  }
};

TEST_F(WaitsTest, OnlyTimersOneTwoAndFourOpenAWaitWindow) {
  struct Case {
    UINT_PTR timer;
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
    OpenWaitWindow(c.timer, 10000);
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
    KillTimer(g_mainWindow, c.timer);
    DestroyWindow(g_waitWindow);
    g_waitWindow = nullptr;
    EnableWindow(g_mainWindow, TRUE);
  }
}

TEST_F(WaitsTest, OneWaitAtATime) {
  ASSERT_TRUE(OpenWaitWindow(kTimerSearchDelay, 10000));
  const HWND first = g_waitWindow;
  for (UINT_PTR timer : {kTimerSearchDelay, kTimerHandshakeWait, kTimerCardWait}) {
    EXPECT_FALSE(OpenWaitWindow(timer, 10000)) << timer;
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
