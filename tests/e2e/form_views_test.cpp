// Scenarios of the form's views: for every card type and work mode, which controls are shown,
// hidden, enabled and disabled (with and without "Generate unique data before write"), and the
// fields that choosing master card "Send card ID" or "Send card ID after logged in" resets.
#include <windows.h>

#include <string>
#include <vector>

#include "form_expectations.h"
#include "harness.h"
#include "ui/form_layout.h"

namespace {

// Per view M-ID, M-DATA, M-AUTH, U-ID, U-DATA, U-AUTH: E shown and enabled, D shown and disabled,
// H hidden, S shown, c enabled only with box 24 checked, u enabled only with it unchecked,
// x disabled and unchecked. Rows are the form's rows counted from 1.
struct ExpectedViewRow {
  std::vector<int> rows;
  const char* states;
};

const ExpectedViewRow kExpectedViews[] = {
    {{1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16}, "EEEEEE"},  // never touched by a view
    {{10, 11, 12, 14}, "EEEDEE"},                     // Write, Read, Clear, Clear cyclically
    {{13}, "DDDDcE"},                                 // Write cyclically
    {{17}, "EEEDDD"},                                 // work mode
    {{18, 24, 26}, "DEEDEE"},                         // sector label, key label, Show Key
    {{19, 20, 25, 27}, "DEEDDD"},                     // sector up-down and edit, key edit, Generate random
    {{21}, "DEDDED"},                                 // block label
    {{22, 23}, "DEDDDD"},                             // block up-down and edit
    {{28}, "EEEDDD"},                                 // Add to list
    {{29}, "EEEEEE"},                                 // Show list
    {{30, 35, 42}, "HHHSSS"},                         // user card, converter, reader interface groups
    {{31, 36, 38, 40}, "HHHDED"},                     // data and converter labels
    {{32, 33, 37, 39, 41, 43, 44}, "HHHDuD"},         // data edit, Generate unique, converter
    {{34}, "HHHxED"},                                 // Generate unique data before write
    {{45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59}, "SSSHHH"},  // Orvane settings
};

// Card type and work mode by their list indices, and the view they show.
const struct {
  int cardType, workMode, view;
} kCodes[] = {{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 1}, {1, 0, 3}, {1, 1, 4}, {1, 2, 5}, {1, 3, 4}};

// Chooses the code's view through the combo box a user would change to reach it.
void ChooseCode(HWND main, int cardType, int workMode) {
  ChooseView(main, cardType, workMode, cardType == kUserCard ? kIdCardType : kIdWorkMode);
}

void ExpectState(HWND control, char state, bool box24) {
  const bool visible = ui::Visible(control);
  const bool enabled = ui::Enabled(control);
  SCOPED_TRACE(std::string("visible ") + (visible ? "yes" : "no") + ", enabled " + (enabled ? "yes" : "no"));
  switch (state) {
    case 'E': EXPECT_TRUE(visible && enabled); break;
    case 'D': EXPECT_TRUE(visible && !enabled); break;
    case 'H': EXPECT_FALSE(visible); break;
    case 'S': EXPECT_TRUE(visible); break;
    case 'c': EXPECT_TRUE(visible && enabled == box24); break;
    case 'u': EXPECT_TRUE(visible && enabled == !box24); break;
    case 'x':
      EXPECT_TRUE(visible && !enabled);
      EXPECT_FALSE(IsChecked(control));
      break;
  }
}

void ExpectView(HWND main, int view, bool box24) {
  const std::vector<HWND> children = FormChildren(main);
  ASSERT_EQ(children.size(), static_cast<size_t>(kExpectedControlCount));
  for (const ExpectedViewRow& expected : kExpectedViews) {
    for (int row : expected.rows) {
      SCOPED_TRACE("row " + std::to_string(row) + ", state " + expected.states[view]);
      ExpectState(children[row - 1], expected.states[view], box24);
    }
  }
}

class FormViewScenario : public KeyloomScenario {};

TEST_F(FormViewScenario, TheFormStartsInTheMasterCardIdView) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  ExpectView(main, kViewMasterId, false);
}

TEST_F(FormViewScenario, EveryCardTypeAndWorkModeShowsItsView) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  HWND box24 = ui::Control(main, kIdGenerateBeforeWrite);
  for (bool checked : {false, true}) {
    for (const auto& code : kCodes) {
      SCOPED_TRACE("type " + std::to_string(code.cardType) + ", mode " + std::to_string(code.workMode) +
                   (checked ? ", box 24 checked" : ", box 24 unchecked"));
      SendMessageA(box24, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      ChooseCode(main, code.cardType, code.workMode);
      ExpectView(main, code.view, checked);
      // Only the user card "Send card ID" view clears the box; the others leave it as it was.
      EXPECT_EQ(IsChecked(box24), checked && code.view != kViewUserId);
    }
  }
}

TEST_F(FormViewScenario, AComboBoxWithoutASelectionChangesNothing) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  ChooseView(main, -1, kModeSectorData);
  ExpectView(main, kViewUserData, false);
}

TEST_F(FormViewScenario, MasterCardIdResetsSectorBlockAndKeyAndAuthModeResetsTheBlock) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  HWND sector = ui::Control(main, kIdSectorEdit);
  HWND block = ui::Control(main, kIdBlockEdit);
  HWND key = ui::Control(main, kIdKeyEdit);
  HWND showKey = ui::Control(main, kIdShowKey);
  HWND sectorUpDown = ui::Control(main, kIdSectorUpDown);
  const std::string typedKey = "A1 B2 C3 D4 E5 F6";

  // A typed key, sector 4, block 2 and the key shown in clear, in the master card data view.
  auto prepare = [&] {
    ChooseView(main, kMasterCard, kModeSectorData);
    for (int i = 0; i < 14; ++i) ui::ClickUpDownArrow(sectorUpDown, false);
    for (int i = 0; i < 3; ++i) ui::ClickUpDownArrow(sectorUpDown, true);
    for (int i = 0; i < 2; ++i) ui::ClickUpDownArrow(ui::Control(main, kIdBlockUpDown), true);
    SendMessageA(key, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typedKey.c_str()));
    SendMessageA(showKey, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(key, EM_SETPASSWORDCHAR, 0, 0);
    ASSERT_EQ(ui::Text(sector), "4");
    ASSERT_EQ(ui::Text(block), "2");
  };

  // "Send card ID after logged in": only the block goes back to 0.
  prepare();
  ChooseView(main, kMasterCard, kModeCardIdAuth);
  EXPECT_EQ(ui::Text(block), "0");
  EXPECT_EQ(ui::Text(sector), "4");
  EXPECT_EQ(ui::Text(key), typedKey);
  EXPECT_TRUE(IsChecked(showKey));
  EXPECT_EQ(SendMessageA(key, EM_GETPASSWORDCHAR, 0, 0), 0);

  // The other views reset nothing.
  for (const auto& code : kCodes) {
    if (code.view == kViewMasterId || code.view == kViewMasterAuth) continue;
    SCOPED_TRACE("type " + std::to_string(code.cardType) + ", mode " + std::to_string(code.workMode));
    prepare();
    ChooseCode(main, code.cardType, code.workMode);
    EXPECT_EQ(ui::Text(sector), "4");
    EXPECT_EQ(ui::Text(block), "2");
    EXPECT_EQ(ui::Text(key), typedKey);
  }

  // "Send card ID" for a master card, reached from either combo box: everything goes back and
  // the key is masked again.
  for (int combo : {kIdWorkMode, kIdCardType}) {
    prepare();
    if (combo == kIdCardType) ChooseView(main, kUserCard, kModeCardId, kIdCardType);
    ChooseView(main, kMasterCard, kModeCardId, combo);
    SCOPED_TRACE(combo == kIdCardType ? "card type chosen" : "work mode chosen");
    EXPECT_EQ(ui::Text(sector), "1");
    EXPECT_EQ(ui::Text(block), "0");
    EXPECT_EQ(ui::Text(key), "00 00 00 00 00 00");
    EXPECT_FALSE(IsChecked(showKey));
    EXPECT_EQ(SendMessageA(key, EM_GETPASSWORDCHAR, 0, 0), '*');
    // The up-downs go on from the reset values.
    ui::ClickUpDownArrow(sectorUpDown, true);
    EXPECT_EQ(ui::Text(sector), "1") << "the sector up-down is disabled in this view";
  }
  ChooseView(main, kMasterCard, kModeSectorData);
  ui::ClickUpDownArrow(sectorUpDown, true);
  EXPECT_EQ(ui::Text(sector), "2");
}

}  // namespace
