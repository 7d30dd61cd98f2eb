// The form table's structure: identifiers, radio groups behind their group boxes, captions,
// and the clamping of the up-down values.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/control_ids.h"
#include "ui/form_layout.h"

namespace {

TEST(FormLayout, EveryIdentifierFrom6To38IsUsedExactlyOnce) {
  std::multiset<int> ids;
  int withoutId = 0;
  for (const FormControlRow& control : kFormControls) {
    if (control.id == 0) {
      ++withoutId;
    } else {
      ids.insert(control.id);
    }
  }
  EXPECT_EQ(withoutId, 59 - 33);
  for (int id = kIdPortList; id <= kIdDataEdit; ++id) EXPECT_EQ(ids.count(id), 1u) << "id " << id;
  EXPECT_EQ(FormRowOfId(0), -1);
  EXPECT_EQ(FormRowOfId(39), -1);
}

TEST(FormLayout, NamedRowsHoldTheirControls) {
  const struct {
    int row;
    const char* className;
    int id;
  } cases[] = {
      {kRowVersionValue, kClassStatic, 0},  {kRowSectorUpDown, kClassUpDown, kIdSectorUpDown},
      {kRowSectorEdit, kClassEdit, kIdSectorEdit}, {kRowBlockUpDown, kClassUpDown, kIdBlockUpDown},
      {kRowBlockEdit, kClassEdit, kIdBlockEdit},   {kRowKeyEdit, kClassEdit, kIdKeyEdit},
      {kRowDataEdit, kClassEdit, kIdDataEdit},     {kRowTouchMemoryEdit, kClassEdit, 0},
      {kRowHexEdit, kClassEdit, 0},                {kRowDecimalEdit, kClassEdit, 0},
      {kRowConverterRadio1, kClassButton, kIdConverterFormat1},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(kFormControls[c.row].className, c.className) << "row " << c.row + 1;
    EXPECT_EQ(kFormControls[c.row].id, c.id) << "row " << c.row + 1;
  }
  EXPECT_STREQ(kFormControls[kRowVersionValue].caption, "x.xx");
  for (int row : {kRowSettingsGroup, kRowCardGroup, kRowMasterGroup, kRowUserGroup, kRowConverterGroup,
                  kRowReaderInterfaceGroup, kRowOrvaneGroup, kRowInterfacesGroup, kRowIndicationGroup,
                  kRowStandbyGroup, kRowTouchPollGroup}) {
    EXPECT_EQ(kFormControls[row].style, kStyleGroupBox) << "row " << row + 1;
  }
  for (int row : {kRowPortLabel, kRowVersionLabel, kRowTypeLabel, kRowWorkModeLabel, kRowSectorLabel,
                  kRowBlockLabel, kRowKeyLabel, kRowDataLabel, kRowTouchMemoryLabel, kRowHexLabel,
                  kRowDecimalLabel}) {
    EXPECT_STREQ(kFormControls[row].className, kClassStatic) << "row " << row + 1;
  }
}

// A radio group is its own only when a WS_GROUP group box comes right before its radios.
TEST(FormLayout, EveryRadioGroupFollowsItsGroupBoxAndChecksOneOfItsOwn) {
  for (const RadioGroup& group : kRadioGroups) {
    const int first = FormRowOfId(group.first);
    ASSERT_GT(first, 0);
    EXPECT_EQ(kFormControls[first - 1].style, kStyleGroupBox) << "radio " << group.first;
    EXPECT_EQ(FormRowOfId(group.last), first + group.last - group.first) << "radio " << group.first;
    for (int row = first; row <= FormRowOfId(group.last); ++row) {
      EXPECT_EQ(kFormControls[row].style, kStyleRadio) << "row " << row + 1;
      EXPECT_EQ(kFormControls[row].id, group.first + row - first) << "row " << row + 1;
    }
    EXPECT_GE(group.checked, group.first);
    EXPECT_LE(group.checked, group.last);
  }
}

TEST(FormLayout, CaptionsComeFromOneSourceAndTheUpDownsFollowTheirEdits) {
  int uiCaptions = 0;
  for (const FormControlRow& control : kFormControls) {
    EXPECT_NE(control.caption, nullptr);
    if (control.uiCaption == nullptr) continue;
    ++uiCaptions;
    EXPECT_STREQ(control.caption, "");
  }
  // 11 group boxes, 8 labels, 12 buttons and check boxes, 7 radios.
  EXPECT_EQ(uiCaptions, 38);
  EXPECT_EQ(kRowSectorEdit, kRowSectorUpDown + 1);
  EXPECT_EQ(kRowBlockEdit, kRowBlockUpDown + 1);
}

TEST(FormLayout, UpDownValuesAreKeptInsideTheirRanges) {
  const struct {
    int proposed, sector, block;
  } cases[] = {{-5, 1, 0}, {-1, 1, 0}, {0, 1, 0}, {1, 1, 1}, {2, 2, 2},
               {3, 3, 2},  {15, 15, 2}, {16, 15, 2}, {40, 15, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(ClampSectorNumber(c.proposed), c.sector) << c.proposed;
    EXPECT_EQ(ClampBlockNumber(c.proposed), c.block) << c.proposed;
  }
  EXPECT_EQ(kSectorRange & 0xFFFF, 15u);
  EXPECT_EQ(kSectorRange >> 16, 1u);
  EXPECT_EQ(kBlockRange & 0xFFFF, 2u);
  EXPECT_EQ(kBlockRange >> 16, 0u);
}

}  // namespace
