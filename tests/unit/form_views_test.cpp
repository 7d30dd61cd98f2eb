// The view codes, their field resets, and the shape of the control-by-view table.
// Each view's column is compared with what the rules of the views require of it.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "ui/control_ids.h"
#include "ui/form_layout.h"

namespace {

TEST(FormViews, EightCodesMapOntoSixViews) {
  const struct {
    unsigned code;
    FormView view;
    FieldReset reset;
  } cases[] = {
      {0, kViewMasterId, kResetMasterId}, {1, kViewMasterData, kResetNothing}, {2, kViewMasterAuth, kResetBlock},
      {3, kViewMasterData, kResetNothing}, {10, kViewUserId, kResetNothing},    {11, kViewUserData, kResetNothing},
      {12, kViewUserAuth, kResetNothing},  {13, kViewUserData, kResetNothing},
  };
  for (const auto& c : cases) {
    FormView view = kViewCount;
    EXPECT_TRUE(ViewOfCode(c.code, &view)) << c.code;
    EXPECT_EQ(view, c.view) << c.code;
    EXPECT_EQ(FieldResetOf(c.code), c.reset) << c.code;
  }
  EXPECT_EQ(ViewCodeOf(1, 3), 13u);
  // A combo box without a selection (-1) gives a code that changes nothing.
  for (unsigned code : {4u, 9u, 14u, 20u, ViewCodeOf(-1, 0), ViewCodeOf(0, -1), ViewCodeOf(-1, -1)}) {
    FormView view = kViewCount;
    EXPECT_FALSE(ViewOfCode(code, &view)) << code;
    EXPECT_EQ(view, kViewCount) << code;
  }
}

// The resets act on the program's one FormState through its owner; each case starts from the
// same changed values and the form's start values are put back at the end.
TEST(FormViews, ResetsTouchOnlyTheirFields) {
  const uint8_t key[6] = {0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB};
  const auto changeFields = [&] {
    SetFormSectorNumber(7);
    SetFormBlockNumber(2);
    SetFormSystemKey(key);
  };

  changeFields();
  ResetFormFields(kResetBlock);
  EXPECT_EQ(g_form.sectorNumber, 7);
  EXPECT_EQ(g_form.blockNumber, 0);
  EXPECT_STREQ(g_form.systemKeyText, "AB AB AB AB AB AB");

  changeFields();
  ResetFormFields(kResetNothing);
  EXPECT_EQ(g_form.blockNumber, 2);

  changeFields();
  ResetFormFields(kResetMasterId);
  EXPECT_EQ(g_form.sectorNumber, 1);
  EXPECT_EQ(g_form.blockNumber, 0);
  for (uint8_t byte : g_form.systemKey) EXPECT_EQ(byte, 0);
  EXPECT_STREQ(g_form.systemKeyText, "00 00 00 00 00 00");
  EXPECT_STREQ(g_form.sectorDataText, "11 22 33 44 55 66 77");
}

// Whoever sets a number, FormState keeps it where the up-downs can show it, and its texts follow
// the bytes; a stored key keeps its text as the key line holds it.
TEST(FormStateOwner, SettersKeepNumbersInRangeAndTextsWithTheirBytes) {
  const struct {
    int32_t proposed, sector, block;
  } numbers[] = {{-1, 1, 0}, {0, 1, 0}, {2, 2, 2}, {3, 3, 2}, {16, 15, 2}};
  for (const auto& c : numbers) {
    SetFormSectorNumber(c.proposed);
    SetFormBlockNumber(c.proposed);
    EXPECT_EQ(g_form.sectorNumber, c.sector) << c.proposed;
    EXPECT_EQ(g_form.blockNumber, c.block) << c.proposed;
  }
  const uint8_t data[7] = {0x00, 0x0F, 0xA0, 0xFF, 0x12, 0x34, 0x56};
  SetFormSectorData(data);
  EXPECT_STREQ(g_form.sectorDataText, "00 0F A0 FF 12 34 56");
  CommitFormSectorData("1A2");
  EXPECT_STREQ(g_form.sectorDataText, "1A 2F FF FF FF FF FF");
  EXPECT_EQ(g_form.sectorData[1], 0x2F);
  CommitFormSystemKey("0102030405");
  EXPECT_STREQ(g_form.systemKeyText, "01 02 03 04 05 FF");
  const uint8_t stored[6] = {0xDE, 0xAD, 0, 0, 0, 0};
  SetFormKeyRecord("DE AD", stored, "Gate 2");
  EXPECT_STREQ(g_form.systemKeyText, "DE AD");
  EXPECT_EQ(g_form.systemKey[1], 0xAD);
  // The record's description goes with its key and no other.
  EXPECT_STREQ(KeyRecordDescriptionOf(g_form.systemKey), "Gate 2");
  CommitFormSystemKey("DEAD00000001");
  EXPECT_STREQ(KeyRecordDescriptionOf(g_form.systemKey), "");
  CommitFormSystemKey("DEAD00000000");
  EXPECT_STREQ(KeyRecordDescriptionOf(g_form.systemKey), "Gate 2");

  const FormState start;
  SetFormSectorNumber(start.sectorNumber);
  SetFormBlockNumber(start.blockNumber);
  SetFormSystemKey(start.systemKey);
  SetFormSectorData(start.sectorData);
}

TEST(FormViews, TheTableCoversEachControlOnceAndLeavesTheFixedGroupsAlone) {
  std::set<int> rows;
  for (const ViewStateRow& entry : kViewStates) {
    ASSERT_GE(entry.row, 0);
    ASSERT_LT(entry.row, kFormControlCount);
    EXPECT_TRUE(rows.insert(entry.row).second) << "row " << entry.row + 1 << " twice";
    ASSERT_EQ(std::strlen(entry.states), static_cast<size_t>(kViewCount)) << "row " << entry.row + 1;
    for (int view = 0; view < kViewCount; ++view) {
      EXPECT_NE(std::strchr("EDHScux", entry.states[view]), nullptr) << "row " << entry.row + 1;
    }
  }
  // The settings group, the card group with its type combo, the master group box and its
  // work mode label stay as they are in every view.
  for (int row : {0, 1, 2, 3, 4, 5, 6, 7, 8, int{kRowMasterGroup}, int{kRowWorkModeLabel}}) {
    EXPECT_EQ(rows.count(row), 0u) << "row " << row + 1;
  }
  EXPECT_EQ(rows.size(), static_cast<size_t>(kFormControlCount - 11));
}

TEST(FormViews, OrvaneSettingsAreOnlyShownOrHiddenAndBox24RulesOnlyUserData) {
  for (const ViewStateRow& entry : kViewStates) {
    const int id = kFormControls[entry.row].id;
    for (int view = 0; view < kViewCount; ++view) {
      const ControlState state = StateInView(entry, static_cast<FormView>(view));
      if (id >= kIdInterfaceTouchMemory && id <= kIdTouchPollOff) {
        EXPECT_EQ(state, view < kViewUserId ? kStateShown : kStateHidden) << "id " << id;
      }
      if (FollowsBox24(state)) {
        EXPECT_EQ(view, kViewUserData) << "row " << entry.row + 1;
      }
    }
  }
}

TEST(FormViews, ShownInViewFollowsTheTableAndShowsTheRowsItLeavesOut) {
  struct Case {
    int row;
    FormView view;
    bool shown;
  };
  const Case cases[] = {
      {kRowSettingsGroup, kViewUserAuth, true},       // not in the table: always shown
      {kRowMasterGroup, kViewUserId, true},
      {kRowUserGroup, kStartView, false},             // the user card and converter groups wait
      {kRowDecimalEdit, kStartView, false},
      {kRowConverterRadio1, kViewMasterAuth, false},
      {kRowUserGroup, kViewUserId, true},             // shown, even where disabled
      {kRowDataEdit, kViewUserId, true},
      {kRowSectorEdit, kStartView, true},             // disabled in the start view, but shown
      {kRowOrvaneGroup, kStartView, true},
      {kRowLast, kViewUserData, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownInView(c.row, c.view), c.shown) << "row " << c.row + 1 << ", view " << c.view;
  }
}

}  // namespace
