// Scenarios of the main form as it comes up: every control with its class, identifier, caption,
// place and style in creation order, the initial contents, and the limits of the two up-downs.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "form_expectations.h"
#include "harness.h"

namespace {

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class FormLayoutScenario : public KeyloomScenario {};

TEST_F(FormLayoutScenario, EveryControlHasItsClassIdCaptionPlaceAndStyle) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  const std::vector<HWND> children = FormChildren(main);
  ASSERT_EQ(children.size(), static_cast<size_t>(kExpectedControlCount));

  for (int i = 0; i < kExpectedControlCount; ++i) {
    const ExpectedControl& row = kExpectedForm[i];
    HWND control = children[i];
    SCOPED_TRACE("row " + std::to_string(i + 1));
    EXPECT_TRUE(SameText(ui::ClassOf(control), row.className)) << ui::ClassOf(control);
    EXPECT_EQ(GetDlgCtrlID(control), row.id);
    if (row.id != 0) {
      EXPECT_EQ(ui::Control(main, row.id), control);
    }
    const std::string className = row.className;
    if (className != "Edit" && className != "Combobox") {
      EXPECT_EQ(ui::Text(control), CaptionIn(row, kEnglish));
    }
    // Visibility and the enabled state belong to the view. Two bits are the controls' own doing:
    // an edit takes WS_BORDER off its window style and draws that border itself, and a radio
    // button that gets checked gives itself WS_TABSTOP (both as on Windows).
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    DWORD expectedStyle = row.style & ~WS_VISIBLE;
    if (className == "Edit") expectedStyle &= ~WS_BORDER;
    const bool checkedRadio = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if ((row.style & 0xF) == BS_AUTORADIOBUTTON && checkedRadio) expectedStyle |= WS_TABSTOP;
    EXPECT_EQ(style & ~(WS_VISIBLE | WS_DISABLED), expectedStyle) << std::hex << style;

    const RECT rect = ClientRectIn(main, control);
    const RECT expected = {row.x, row.y, row.x + row.width, row.y + row.height};
    if (className == "msctls_updown32") {
      // Created with no size, the up-down moves to the right end of the edit that follows it and
      // narrows that edit to make room, overlapping its 2-pixel border.
      const ExpectedControl& edit = kExpectedForm[i + 1];
      const RECT buddy = ClientRectIn(main, children[i + 1]);
      EXPECT_EQ(rect.top, edit.y);
      EXPECT_EQ(rect.bottom, edit.y + edit.height);
      EXPECT_GE(rect.right, edit.x + edit.width - 2);
      EXPECT_LE(rect.right, edit.x + edit.width);
      EXPECT_GE(rect.right - rect.left, 10);
      EXPECT_LE(rect.left, buddy.right);
      EXPECT_GE(rect.left, buddy.right - 2);
    } else if (className == "Combobox") {
      // A drop-down list is as high as its closed field; the table's height is the field and
      // the dropped list together. CB_GETDROPPEDCONTROLRECT gives the list's height counted from
      // the top of the field (Wine), so field and list heights add up to the table's height.
      EXPECT_EQ(rect.left, expected.left);
      EXPECT_EQ(rect.top, expected.top);
      EXPECT_EQ(rect.right, expected.right);
      EXPECT_GE(rect.bottom - rect.top, 18);
      EXPECT_LT(rect.bottom - rect.top, 30);
      RECT dropped = {};
      SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&dropped), 2);
      EXPECT_EQ(dropped.left, expected.left);
      EXPECT_EQ(dropped.top, expected.top);
      EXPECT_EQ(dropped.right, expected.right);
      EXPECT_EQ((rect.bottom - rect.top) + (dropped.bottom - dropped.top), row.height)
          << "field " << rect.bottom - rect.top << ", list " << dropped.bottom - dropped.top;
    } else if (row.id == 16 || row.id == 18) {
      EXPECT_EQ(rect.left, expected.left);
      EXPECT_EQ(rect.top, expected.top);
      EXPECT_EQ(rect.bottom, expected.bottom);
      EXPECT_LT(rect.right, expected.right);
    } else {
      EXPECT_EQ(rect.left, expected.left);
      EXPECT_EQ(rect.top, expected.top);
      EXPECT_EQ(rect.right, expected.right);
      EXPECT_EQ(rect.bottom, expected.bottom);
    }
  }
}

TEST_F(FormLayoutScenario, TheFormStartsWithItsInitialContents) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::Text(ui::Control(main, 16)), "1");
  EXPECT_EQ(ui::Text(ui::Control(main, 18)), "0");
  HWND keyEdit = ui::Control(main, 37);
  EXPECT_EQ(ui::Text(keyEdit), "00 00 00 00 00 00");
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(ui::Text(ui::Control(main, 38)), "11 22 33 44 55 66 77");

  const std::vector<int> checked = {25, 28, 32, 33, 35};
  for (int id = 19; id <= 36; ++id) {
    if (id >= 20 && id <= 23) continue;
    const bool expected = std::find(checked.begin(), checked.end(), id) != checked.end();
    EXPECT_EQ(SendMessageA(ui::Control(main, id), BM_GETCHECK, 0, 0), expected ? BST_CHECKED : BST_UNCHECKED)
        << "id " << id;
  }

  using namespace shown;
  EXPECT_EQ(ui::ComboItems(ui::Control(main, 8)),
            (std::vector<std::string>{kCardTypeMaster.english, kCardTypeUser.english}));
  EXPECT_EQ(ui::ComboItems(ui::Control(main, 14)),
            (std::vector<std::string>{kWorkModeCardId.english, kWorkModeSectorData.english,
                                      kWorkModeCardIdAuth.english, kWorkModeSectorDataDecrypt.english}));
  EXPECT_EQ(SendMessageA(ui::Control(main, 8), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(ui::Control(main, 14), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(FormLayoutScenario, TheUpDownsStopAtTheEndsOfTheirRanges) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ChooseView(main, 0, 1);  // the master card data view enables both up-downs
  const struct {
    int upDown, edit;
    bool up;
    int clicks;
    const char* shown;
  } steps[] = {
      {15, 16, true, 1, "2"},   {15, 16, true, 13, "15"}, {15, 16, true, 3, "15"},
      {15, 16, false, 1, "14"}, {15, 16, false, 20, "1"}, {15, 16, false, 1, "1"},
      {17, 18, false, 1, "0"},  {17, 18, true, 1, "1"},   {17, 18, true, 5, "2"},
      {17, 18, false, 1, "1"},  {17, 18, false, 4, "0"},  {15, 16, true, 2, "3"},
  };
  for (const auto& step : steps) {
    for (int i = 0; i < step.clicks; ++i) ui::ClickUpDownArrow(ui::Control(main, step.upDown), step.up);
    EXPECT_EQ(ui::Text(ui::Control(main, step.edit)), step.shown)
        << "up-down " << step.upDown << (step.up ? " up x" : " down x") << step.clicks;
  }
  // The read-only edits still show the last value of the other up-down.
  EXPECT_EQ(ui::Text(ui::Control(main, 18)), "0");
}

// Every radio group starts behind its own group box, so a click unchecks only its own group:
// "Wiegand 26" of the converter (36) and of the reader's interfaces (26) are independent.
TEST_F(FormLayoutScenario, AClickedRadioUnchecksOnlyItsOwnGroup) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  const struct {
    int cardType, workMode, clicked;
    std::vector<int> checked;
  } steps[] = {
      {1, 1, 36, {25, 28, 32, 33, 36}},
      {0, 1, 26, {26, 28, 32, 33, 36}},
      {0, 1, 31, {26, 28, 31, 33, 36}},
      {0, 1, 34, {26, 28, 31, 34, 36}},
      {0, 1, 29, {26, 29, 31, 34, 36}},
      {1, 1, 35, {26, 29, 31, 34, 35}},
  };
  for (const auto& step : steps) {
    ChooseView(main, step.cardType, step.workMode);
    HWND radio = ui::Control(main, step.clicked);
    ASSERT_TRUE(ui::Visible(radio) && ui::Enabled(radio)) << "radio " << step.clicked;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(radio, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    for (int id = 25; id <= 36; ++id) {
      const bool expected = std::find(step.checked.begin(), step.checked.end(), id) != step.checked.end();
      EXPECT_EQ(SendMessageA(ui::Control(main, id), BM_GETCHECK, 0, 0), expected ? BST_CHECKED : BST_UNCHECKED)
          << "radio " << id << " after a click on " << step.clicked;
    }
  }
}

}  // namespace
