// The main form's controls in creation order, the radio groups with their default checks, the
// combo box items, and the control-by-view table with the view codes and their field resets.
#include "ui/form_layout.h"

namespace {

using T = UiTextTable;
constexpr const char* kNone = "";

}  // namespace

// clang-format off
const FormControlRow kFormControls[kFormControlCount] = {
  // class          id                       UiText caption              fixed caption               x    y    w    h    style
  {kClassButton,    0,                       &T::groupSettings,          kNone,                       5,   5, 650,  65, kStyleGroupBox},
  {kClassStatic,    0,                       &T::labelProgrammerPort,    kNone,                      18,  30, 125,  16, kStyleStatic},
  {kClassCombobox,  kIdPortList,             nullptr,                    kNone,                     150,  27, 328, 200, kStyleDropDownList},
  {kClassButton,    kIdSearch,               &T::buttonSearch,           kNone,                     490,  27, 150,  23, kStylePushButton},
  {kClassStatic,    0,                       &T::labelVersion,           kNone,                      18,  49,  55,  15, kStyleStatic},
  {kClassStatic,    0,                       nullptr,                    "x.xx",                     75,  48,  30,  15, kStyleStatic},
  {kClassButton,    0,                       &T::groupCard,              kNone,                       5,  75, 650,  95, kStyleGroupBox},
  {kClassStatic,    0,                       &T::labelType,              kNone,                      18, 100,  35,  15, kStyleStatic},
  {kClassCombobox,  kIdCardType,             nullptr,                    kNone,                      58,  97, 145,  60, kStyleDropDownList},
  {kClassButton,    kIdWrite,                &T::buttonWrite,            kNone,                     215,  97, 150,  23, kStylePushButton},
  {kClassButton,    kIdRead,                 &T::buttonRead,             kNone,                     378,  97, 100,  23, kStylePushButton},
  {kClassButton,    kIdClear,                &T::buttonClear,            kNone,                     490,  97, 150,  23, kStylePushButton},
  {kClassButton,    kIdWriteCyclically,      &T::buttonWriteCyclically,  kNone,                     215, 130, 150,  23, kStylePushButton},
  {kClassButton,    kIdClearCyclically,      &T::buttonClearCyclically,  kNone,                     490, 130, 150,  23, kStylePushButton},
  {kClassButton,    0,                       &T::groupMasterCard,        kNone,                       5, 175, 650, 160, kStyleGroupBox},
  {kClassStatic,    0,                       &T::labelWorkMode,          kNone,                      18, 200, 100,  15, kStyleStatic},
  {kClassCombobox,  kIdWorkMode,             nullptr,                    kNone,                     160, 197, 482, 100, kStyleDropDownList},
  {kClassStatic,    0,                       &T::labelSectorNum,         kNone,                      18, 230, 110,  15, kStyleStatic},
  {kClassUpDown,    kIdSectorUpDown,         nullptr,                    kNone,                       0,   0,   0,   0, kStyleUpDown},
  {kClassEdit,      kIdSectorEdit,           nullptr,                    kNone,                     160, 227,  80,  23, kStyleReadOnlyEdit},
  {kClassStatic,    0,                       &T::labelBlockNum,          kNone,                     255, 230,  90,  15, kStyleStatic},
  {kClassUpDown,    kIdBlockUpDown,          nullptr,                    kNone,                       0,   0,   0,   0, kStyleUpDown},
  {kClassEdit,      kIdBlockEdit,            nullptr,                    kNone,                     355, 227,  80,  23, kStyleReadOnlyEdit},
  {kClassStatic,    0,                       &T::labelSystemKey,         kNone,                      18, 260, 140,  15, kStyleStatic},
  {kClassEdit,      kIdKeyEdit,              nullptr,                    kNone,                     160, 257, 183,  23, kStyleKeyEdit},
  {kClassButton,    kIdShowKey,              &T::checkShowKey,           kNone,                     355, 257, 120,  23, kStyleCheckBox},
  {kClassButton,    kIdGenerateRandom,       &T::buttonGenerateRandom,   kNone,                     160, 295, 150,  23, kStylePushButton},
  {kClassButton,    kIdAddToList,            &T::buttonAddToList,        kNone,                     325, 295, 150,  23, kStylePushButton},
  {kClassButton,    kIdShowList,             &T::buttonShowList,         kNone,                     490, 295, 150,  23, kStylePushButton},
  {kClassButton,    0,                       &T::groupUserCard,          kNone,                       5, 340, 650,  90, kStyleGroupBox},
  {kClassStatic,    0,                       &T::labelSectorData,        kNone,                      18, 365, 150,  15, kStyleStatic},
  {kClassEdit,      kIdDataEdit,             nullptr,                    kNone,                     180, 363, 294,  23, kStyleDataEdit},
  {kClassButton,    kIdGenerateUnique,       &T::buttonGenerateUnique,   kNone,                     490, 363, 150,  23, kStylePushButton},
  {kClassButton,    kIdGenerateBeforeWrite,  &T::checkGenerateBeforeWrite, kNone,                   180, 395, 360,  23, kStyleCheckBox},
  {kClassButton,    0,                       &T::groupConverter,         kNone,                       5, 435, 650, 130, kStyleGroupBox},
  {kClassStatic,    0,                       nullptr,                    "Touch Memory: ",           18, 460, 100,  15, kStyleStatic},
  {kClassEdit,      0,                       nullptr,                    kNone,                     130, 457, 180,  23, kStyleReadOnlyEdit},
  {kClassStatic,    0,                       nullptr,                    "HEX: ",                    18, 495, 100,  15, kStyleStatic},
  {kClassEdit,      0,                       nullptr,                    kNone,                     130, 492, 180,  23, kStyleReadOnlyEdit},
  {kClassStatic,    0,                       nullptr,                    "DEC: ",                    18, 530, 100,  15, kStyleStatic},
  {kClassEdit,      0,                       nullptr,                    kNone,                     130, 527, 180,  23, kStyleReadOnlyEdit},
  {kClassButton,    0,                       &T::groupReaderInterface,   kNone,                     367, 457, 230,  93, kStyleGroupBox},
  {kClassButton,    kIdConverterFormat0,     nullptr,                    "Touch Memory, Wiegand 44", 379, 482, 215,  20, kStyleRadio},
  {kClassButton,    kIdConverterFormat1,     nullptr,                    "Wiegand 26",              379, 507, 150,  20, kStyleRadio},
  {kClassButton,    0,                       &T::groupOrvaneSettings,    kNone,                       5, 340, 650, 270, kStyleGroupBox},
  {kClassButton,    0,                       &T::groupInterfaces,        kNone,                      18, 365, 307, 110, kStyleGroupBox},
  {kClassButton,    kIdInterfaceTouchMemory, nullptr,                    "Touch Memory",             30, 390, 120,  20, kStyleRadio},
  {kClassButton,    kIdInterfaceWiegand26,   nullptr,                    "Wiegand 26",               30, 415, 120,  20, kStyleRadio},
  {kClassButton,    kIdInterfaceWiegand44,   nullptr,                    "Wiegand 44",               30, 440, 120,  20, kStyleRadio},
  {kClassButton,    0,                       &T::groupIndicationControl, kNone,                     336, 365, 307, 110, kStyleGroupBox},
  {kClassButton,    kIdIndicationDirect,     &T::radioDirect,            kNone,                     348, 390, 190,  20, kStyleRadio},
  {kClassButton,    kIdIndicationInverse,    &T::radioInverse,           kNone,                     348, 415, 190,  20, kStyleRadio},
  {kClassButton,    0,                       &T::groupStandbyIndication, kNone,                      18, 485, 307, 110, kStyleGroupBox},
  {kClassButton,    kIdStandbyDynamic,       &T::radioDynamic,           kNone,                      30, 510, 190,  20, kStyleRadio},
  {kClassButton,    kIdStandbyStatic,        &T::radioStatic,            kNone,                      30, 535, 190,  20, kStyleRadio},
  {kClassButton,    kIdStandbyOff,           &T::radioStandbyOff,        kNone,                      30, 560, 190,  20, kStyleRadio},
  {kClassButton,    0,                       &T::groupTouchButtonPoll,   kNone,                     336, 485, 307, 110, kStyleGroupBox},
  {kClassButton,    kIdTouchPollOn,          &T::radioPollOn,            kNone,                     348, 510, 190,  20, kStyleRadio},
  {kClassButton,    kIdTouchPollOff,         &T::radioPollOff,           kNone,                     348, 535, 190,  20, kStyleRadio},
};

const RadioGroup kRadioGroups[kRadioGroupCount] = {
  {kIdConverterFormat0, kIdConverterFormat1, kIdConverterFormat0},  // converter format
  {kIdInterfaceTouchMemory, kIdInterfaceWiegand44, kIdInterfaceTouchMemory},  // output interface
  {kIdIndicationDirect, kIdIndicationInverse, kIdIndicationDirect},  // indication
  {kIdStandbyDynamic, kIdStandbyOff, kIdStandbyOff},  // standby indication
  {kIdTouchPollOn, kIdTouchPollOff, kIdTouchPollOn},  // touch button poll
};
// clang-format on

const UiTextEntry kCardTypeItems[kCardTypeItemCount] = {&T::cardTypeMaster, &T::cardTypeUser};
const UiTextEntry kWorkModeItems[kWorkModeItemCount] = {&T::workModeCardId, &T::workModeSectorData,
                                                        &T::workModeCardIdAuth, &T::workModeSectorDataDecrypt};

int FormRowOfId(int id) {
  if (id == 0) return -1;
  for (int row = 0; row < kFormControlCount; ++row) {
    if (kFormControls[row].id == id) return row;
  }
  return -1;
}

// The views' entries follow the order in which a view is applied: card buttons, master card group,
// user card group, converter group, Orvane reader settings group.
// clang-format off
const ViewStateRow kViewStates[kViewStateRowCount] = {
  // row                         M-ID M-DATA M-AUTH U-ID U-DATA U-AUTH
  {FormRowOfId(kIdWrite),               "EEEDEE"},  // "Write"
  {FormRowOfId(kIdRead),              "EEEDEE"},  // "Read"
  {FormRowOfId(kIdClear),              "EEEDEE"},  // "Clear"
  {FormRowOfId(kIdWriteCyclically),              "DDDDcE"},  // "Write cyclically"
  {FormRowOfId(kIdClearCyclically),              "EEEDEE"},  // "Clear cyclically"
  {FormRowOfId(kIdWorkMode),              "EEEDDD"},  // work mode combo box
  {kRowSectorLabel,              "DEEDEE"},
  {kRowSectorUpDown,             "DEEDDD"},
  {kRowSectorEdit,               "DEEDDD"},
  {kRowBlockLabel,               "DEDDED"},
  {kRowBlockUpDown,              "DEDDDD"},
  {kRowBlockEdit,                "DEDDDD"},
  {kRowKeyLabel,                 "DEEDEE"},
  {kRowKeyEdit,                  "DEEDDD"},
  {FormRowOfId(kIdShowKey),              "DEEDEE"},  // "Show Key"
  {FormRowOfId(kIdGenerateRandom),              "DEEDDD"},  // "Generate random"
  {FormRowOfId(kIdAddToList),              "EEEDDD"},  // "Add to list"
  {FormRowOfId(kIdShowList),              "EEEEEE"},  // "Show list"
  {kRowUserGroup,                "HHHSSS"},
  {kRowDataLabel,                "HHHDED"},
  {kRowDataEdit,                 "HHHDuD"},
  {FormRowOfId(kIdGenerateUnique),              "HHHDuD"},  // "Generate unique"
  {FormRowOfId(kIdGenerateBeforeWrite),              "HHHxED"},  // "Generate unique data before write"
  {kRowConverterGroup,           "HHHSSS"},
  {kRowTouchMemoryLabel,         "HHHDED"},
  {kRowHexLabel,                 "HHHDED"},
  {kRowDecimalLabel,             "HHHDED"},
  {kRowTouchMemoryEdit,          "HHHDuD"},
  {kRowHexEdit,                  "HHHDuD"},
  {kRowDecimalEdit,              "HHHDuD"},
  {kRowReaderInterfaceGroup,     "HHHSSS"},
  {FormRowOfId(kIdConverterFormat0),              "HHHDuD"},  // converter radios
  {FormRowOfId(kIdConverterFormat1),              "HHHDuD"},
  {kRowOrvaneGroup,              "SSSHHH"},
  {kRowInterfacesGroup,          "SSSHHH"},
  {kRowIndicationGroup,          "SSSHHH"},
  {kRowStandbyGroup,             "SSSHHH"},
  {kRowTouchPollGroup,           "SSSHHH"},
  {FormRowOfId(kIdInterfaceTouchMemory),              "SSSHHH"},  // Orvane settings radios
  {FormRowOfId(kIdInterfaceWiegand26),              "SSSHHH"},
  {FormRowOfId(kIdInterfaceWiegand44),              "SSSHHH"},
  {FormRowOfId(kIdIndicationDirect),              "SSSHHH"},
  {FormRowOfId(kIdIndicationInverse),              "SSSHHH"},
  {FormRowOfId(kIdStandbyDynamic),              "SSSHHH"},
  {FormRowOfId(kIdStandbyStatic),              "SSSHHH"},
  {FormRowOfId(kIdStandbyOff),              "SSSHHH"},
  {FormRowOfId(kIdTouchPollOn),              "SSSHHH"},
  {FormRowOfId(kIdTouchPollOff),              "SSSHHH"},
};
// clang-format on

unsigned ViewCodeOf(int cardType, int workMode) {
  return static_cast<unsigned>(cardType) * 10u + static_cast<unsigned>(workMode);
}

bool ViewOfCode(unsigned code, FormView* view) {
  switch (code) {
    case 0: *view = kViewMasterId; return true;
    case 1: case 3: *view = kViewMasterData; return true;
    case 2: *view = kViewMasterAuth; return true;
    case 10: *view = kViewUserId; return true;
    case 11: case 13: *view = kViewUserData; return true;
    case 12: *view = kViewUserAuth; return true;
  }
  return false;
}

FieldReset FieldResetOf(unsigned code) {
  if (code == 0) return kResetMasterId;
  if (code == 2) return kResetBlock;
  return kResetNothing;
}

ControlState StateInView(const ViewStateRow& entry, FormView view) {
  return static_cast<ControlState>(entry.states[view]);
}

bool ShownInView(int row, FormView view) {
  for (const ViewStateRow& entry : kViewStates) {
    if (entry.row == row) return StateInView(entry, view) != kStateHidden;
  }
  return true;
}

bool FollowsBox24(ControlState state) {
  return state == kStateEnabledIfBox24 || state == kStateEnabledUnlessBox24;
}
