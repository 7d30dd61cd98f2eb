// The card snapshot read from real Win32 controls: list selections, the first checked radio of
// each group (also inside a group window), and the unique-data check box.
#include <gtest/gtest.h>

#include <windows.h>

#include "protocol/command_frames.h"
#include "protocol/win/card_snapshot_win.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"

namespace {

HWND Child(HWND parent, const char* cls, DWORD style, int id) {
  return CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 100, 100, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

TEST(CardSnapshot, ReadsListsRadiosAndCheckBox) {
  HWND form = CreateWindowExA(0, "STATIC", "form", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(form, nullptr);
  HWND group = Child(form, "STATIC", 0, 0);  // a group window holding some of the radios
  for (int id : {kIdCardType, kIdWorkMode}) {
    HWND list = Child(form, "COMBOBOX", CBS_DROPDOWNLIST, id);
    for (const char* item : {"a", "b", "c", "d"}) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  for (int id = kIdInterfaceTouchMemory; id <= kIdTouchPollOff; ++id) {
    Child(id >= kIdStandbyDynamic ? group : form, "BUTTON", BS_RADIOBUTTON, id);
  }
  HWND generate = Child(form, "BUTTON", BS_CHECKBOX, kIdGenerateBeforeWrite);

  CardSnapshot empty = ReadCardSnapshot(form);
  EXPECT_EQ(empty.cardType, -1);
  EXPECT_EQ(empty.workMode, -1);
  for (int r : empty.radio) EXPECT_EQ(r, -1);
  EXPECT_FALSE(empty.generateBeforeWrite);

  SendMessageA(GetDlgItem(form, kIdCardType), CB_SETCURSEL, 1, 0);
  SendMessageA(GetDlgItem(form, kIdWorkMode), CB_SETCURSEL, 3, 0);
  // Two checked buttons in the standby group: the first one counts.
  for (int id : {kIdInterfaceWiegand44, kIdIndicationInverse, kIdStandbyStatic, kIdStandbyOff,
                 kIdTouchPollOff}) {
    HWND button = GetDlgItem(form, id) ? GetDlgItem(form, id) : GetDlgItem(group, id);
    SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
  }
  SendMessageA(generate, BM_SETCHECK, BST_CHECKED, 0);
  // The numbers come from FormState, not from controls: values other than its defaults.
  const FormState saved = g_form;
  const uint8_t key[6] = {0, 0, 0, 0, 0, 0xA5};
  const uint8_t data[7] = {0x5A};
  SetFormSectorNumber(9);
  SetFormBlockNumber(2);
  SetFormSystemKey(key);
  SetFormSectorData(data);

  CardSnapshot read = ReadCardSnapshot(form);
  SetFormSectorNumber(saved.sectorNumber);
  SetFormBlockNumber(saved.blockNumber);
  SetFormSystemKey(saved.systemKey);
  SetFormSectorData(saved.sectorData);
  EXPECT_EQ(read.cardType, 1);
  EXPECT_EQ(read.workMode, 3);
  EXPECT_EQ(read.radio[kGroupOutputInterface], 2);
  EXPECT_EQ(read.radio[kGroupIndication], 1);
  EXPECT_EQ(read.radio[kGroupStandby], 1);
  EXPECT_EQ(read.radio[kGroupTouchPoll], 1);
  EXPECT_TRUE(read.generateBeforeWrite);
  EXPECT_TRUE(UserWriteGeneratesData(read));
  EXPECT_EQ(read.sectorNumber, 9);
  EXPECT_EQ(read.blockNumber, 2);
  EXPECT_EQ(read.systemKey[5], 0xA5);
  EXPECT_EQ(read.sectorData[0], 0x5A);
  DestroyWindow(form);
}

// The block carries one code per radio button: each reader setting's group on the form has as
// many buttons as the setting has codes.
TEST(CardSnapshot, EachSettingHasOneRadioPerCode) {
  for (int group = 0; group < kSettingGroupCount; ++group) {
    const RadioGroup& buttons = kRadioGroups[kSettingRadioGroups[group]];
    EXPECT_EQ(buttons.last - buttons.first + 1, kSettingGroups[group].buttonCount) << "setting " << group;
  }
}

}  // namespace
