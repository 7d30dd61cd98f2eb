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

// The first `count` of left, top, right and bottom.
std::vector<LONG> Sides(const RECT& r, size_t count = 4) {
  std::vector<LONG> sides = {r.left, r.top, r.right, r.bottom};
  sides.resize(count);
  return sides;
}

// The form's two check boxes and its radio buttons, in identifier order.
const std::vector<int> kRadiosAndChecks = {kIdShowKey,           kIdGenerateBeforeWrite, kIdInterfaceTouchMemory,
                                           kIdInterfaceWiegand26, kIdInterfaceWiegand44,  kIdIndicationDirect,
                                           kIdIndicationInverse,  kIdStandbyDynamic,      kIdStandbyStatic,
                                           kIdStandbyOff,         kIdTouchPollOn,         kIdTouchPollOff,
                                           kIdConverterFormat0,   kIdConverterFormat1};

// The radio buttons checked when the form is built.
const std::vector<int> kCheckedAtStart = {kIdInterfaceTouchMemory, kIdIndicationDirect, kIdStandbyOff, kIdTouchPollOn,
                                          kIdConverterFormat0};

// Exactly the buttons in `checked` of `ids` are checked.
void ExpectChecked(HWND main, const std::vector<int>& ids, const std::vector<int>& checked) {
  for (int id : ids) {
    const bool expected = std::find(checked.begin(), checked.end(), id) != checked.end();
    EXPECT_EQ(IsChecked(ui::Control(main, id)), expected) << "id " << id;
  }
}

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
      EXPECT_EQ(Sides(rect, 3), Sides(expected, 3));
      EXPECT_GE(rect.bottom - rect.top, 18);
      EXPECT_LT(rect.bottom - rect.top, 30);
      RECT dropped = {};
      SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&dropped), 2);
      EXPECT_EQ(Sides(dropped, 3), Sides(expected, 3));
      EXPECT_EQ((rect.bottom - rect.top) + (dropped.bottom - dropped.top), row.height)
          << "field " << rect.bottom - rect.top << ", list " << dropped.bottom - dropped.top;
    } else if (row.id == kIdSectorEdit || row.id == kIdBlockEdit) {
      EXPECT_EQ(rect.left, expected.left);
      EXPECT_EQ(rect.top, expected.top);
      EXPECT_EQ(rect.bottom, expected.bottom);
      EXPECT_LT(rect.right, expected.right);
    } else {
      EXPECT_EQ(Sides(rect), Sides(expected));
    }
  }
}

TEST_F(FormLayoutScenario, TheFormStartsWithItsInitialContents) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::Text(ui::Control(main, kIdSectorEdit)), "1");
  EXPECT_EQ(ui::Text(ui::Control(main, kIdBlockEdit)), "0");
  HWND keyEdit = ui::Control(main, kIdKeyEdit);
  EXPECT_EQ(ui::Text(keyEdit), "00 00 00 00 00 00");
  EXPECT_EQ(SendMessageA(keyEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(ui::Text(ui::Control(main, kIdDataEdit)), "11 22 33 44 55 66 77");
  ExpectChecked(main, kRadiosAndChecks, kCheckedAtStart);

  using namespace shown;
  EXPECT_EQ(ui::ComboItems(ui::Control(main, kIdCardType)),
            (std::vector<std::string>{kCardTypeMaster.english, kCardTypeUser.english}));
  EXPECT_EQ(ui::ComboItems(ui::Control(main, kIdWorkMode)),
            (std::vector<std::string>{kWorkModeCardId.english, kWorkModeSectorData.english,
                                      kWorkModeCardIdAuth.english, kWorkModeSectorDataDecrypt.english}));
  EXPECT_EQ(SendMessageA(ui::Control(main, kIdCardType), CB_GETCURSEL, 0, 0), kMasterCard);
  EXPECT_EQ(SendMessageA(ui::Control(main, kIdWorkMode), CB_GETCURSEL, 0, 0), kModeCardId);
}

TEST_F(FormLayoutScenario, TheUpDownsStopAtTheEndsOfTheirRanges) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ChooseView(main, kMasterCard, kModeSectorData);  // the master card data view enables both up-downs
  struct UpDown {
    int upDown, edit;
  };
  const UpDown kSector = {kIdSectorUpDown, kIdSectorEdit}, kBlock = {kIdBlockUpDown, kIdBlockEdit};
  const struct {
    UpDown control;
    bool up;
    int clicks;
    const char* shown;
  } steps[] = {
      {kSector, true, 1, "2"},   {kSector, true, 13, "15"}, {kSector, true, 3, "15"},
      {kSector, false, 1, "14"}, {kSector, false, 20, "1"}, {kSector, false, 1, "1"},
      {kBlock, false, 1, "0"},   {kBlock, true, 1, "1"},    {kBlock, true, 5, "2"},
      {kBlock, false, 1, "1"},   {kBlock, false, 4, "0"},   {kSector, true, 2, "3"},
  };
  for (const auto& step : steps) {
    for (int i = 0; i < step.clicks; ++i) ui::ClickUpDownArrow(ui::Control(main, step.control.upDown), step.up);
    EXPECT_EQ(ui::Text(ui::Control(main, step.control.edit)), step.shown)
        << "up-down " << step.control.upDown << (step.up ? " up x" : " down x") << step.clicks;
  }
  // The read-only edits still show the last value of the other up-down.
  EXPECT_EQ(ui::Text(ui::Control(main, kIdBlockEdit)), "0");
}

// Every radio group starts behind its own group box, so a click unchecks only its own group:
// "Wiegand 26" of the converter and of the reader's interfaces are independent.
TEST_F(FormLayoutScenario, AClickedRadioUnchecksOnlyItsOwnGroup) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  const std::vector<int> radios(kRadiosAndChecks.begin() + 2, kRadiosAndChecks.end());
  std::vector<int> checked = kCheckedAtStart;
  // Each click in the view that shows the radio button unchecks the one before it in its group.
  const struct {
    int cardType, clicked, unchecked;
  } steps[] = {
      {kUserCard, kIdConverterFormat1, kIdConverterFormat0},
      {kMasterCard, kIdInterfaceWiegand26, kIdInterfaceTouchMemory},
      {kMasterCard, kIdStandbyStatic, kIdStandbyOff},
      {kMasterCard, kIdTouchPollOff, kIdTouchPollOn},
      {kMasterCard, kIdIndicationInverse, kIdIndicationDirect},
      {kUserCard, kIdConverterFormat0, kIdConverterFormat1},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE("after a click on " + std::to_string(step.clicked));
    ChooseView(main, step.cardType, kModeSectorData);
    HWND radio = ui::Control(main, step.clicked);
    ASSERT_TRUE(ui::Visible(radio) && ui::Enabled(radio)) << "radio " << step.clicked;
    ClickRadio(main, step.clicked);
    *std::find(checked.begin(), checked.end(), step.unchecked) = step.clicked;
    ExpectChecked(main, radios, checked);
  }
}

}  // namespace
