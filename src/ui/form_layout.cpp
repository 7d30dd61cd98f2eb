// The main form's controls in creation order, the radio groups with their default checks,
// and the combo box items.
#include "ui/form_layout.h"

namespace {

using T = UiTextTable;
constexpr const char* kNone = "";

}  // namespace

// clang-format off
const FormControlRow kFormControls[kFormControlCount] = {
  // class            id  UiText caption              fixed caption               x    y    w    h    style
  {kClassButton,      0, &T::groupSettings,          kNone,                       5,   5, 650,  65, kStyleGroupBox},
  {kClassStatic,      0, &T::labelProgrammerPort,    kNone,                      18,  30, 125,  16, kStyleStatic},
  {kClassCombobox,    6, nullptr,                    kNone,                     150,  27, 328, 200, kStyleDropDownList},
  {kClassButton,      7, &T::buttonSearch,           kNone,                     490,  27, 150,  23, kStylePushButton},
  {kClassStatic,      0, &T::labelVersion,           kNone,                      18,  49,  55,  15, kStyleStatic},
  {kClassStatic,      0, nullptr,                    "x.xx",                     75,  48,  30,  15, kStyleStatic},
  {kClassButton,      0, &T::groupCard,              kNone,                       5,  75, 650,  95, kStyleGroupBox},
  {kClassStatic,      0, &T::labelType,              kNone,                      18, 100,  35,  15, kStyleStatic},
  {kClassCombobox,    8, nullptr,                    kNone,                      58,  97, 145,  60, kStyleDropDownList},
  {kClassButton,      9, &T::buttonWrite,            kNone,                     215,  97, 150,  23, kStylePushButton},
  {kClassButton,     10, &T::buttonRead,             kNone,                     378,  97, 100,  23, kStylePushButton},
  {kClassButton,     11, &T::buttonClear,            kNone,                     490,  97, 150,  23, kStylePushButton},
  {kClassButton,     12, &T::buttonWriteCyclically,  kNone,                     215, 130, 150,  23, kStylePushButton},
  {kClassButton,     13, &T::buttonClearCyclically,  kNone,                     490, 130, 150,  23, kStylePushButton},
  {kClassButton,      0, &T::groupMasterCard,        kNone,                       5, 175, 650, 160, kStyleGroupBox},
  {kClassStatic,      0, &T::labelWorkMode,          kNone,                      18, 200, 100,  15, kStyleStatic},
  {kClassCombobox,   14, nullptr,                    kNone,                     160, 197, 482, 100, kStyleDropDownList},
  {kClassStatic,      0, &T::labelSectorNum,         kNone,                      18, 230, 110,  15, kStyleStatic},
  {kClassUpDown,     15, nullptr,                    kNone,                       0,   0,   0,   0, kStyleUpDown},
  {kClassEdit,       16, nullptr,                    kNone,                     160, 227,  80,  23, kStyleReadOnlyEdit},
  {kClassStatic,      0, &T::labelBlockNum,          kNone,                     255, 230,  90,  15, kStyleStatic},
  {kClassUpDown,     17, nullptr,                    kNone,                       0,   0,   0,   0, kStyleUpDown},
  {kClassEdit,       18, nullptr,                    kNone,                     355, 227,  80,  23, kStyleReadOnlyEdit},
  {kClassStatic,      0, &T::labelSystemKey,         kNone,                      18, 260, 140,  15, kStyleStatic},
  {kClassEdit,       37, nullptr,                    kNone,                     160, 257, 183,  23, kStyleKeyEdit},
  {kClassButton,     19, &T::checkShowKey,           kNone,                     355, 257, 120,  23, kStyleCheckBox},
  {kClassButton,     20, &T::buttonGenerateRandom,   kNone,                     160, 295, 150,  23, kStylePushButton},
  {kClassButton,     21, &T::buttonAddToList,        kNone,                     325, 295, 150,  23, kStylePushButton},
  {kClassButton,     22, &T::buttonShowList,         kNone,                     490, 295, 150,  23, kStylePushButton},
  {kClassButton,      0, &T::groupUserCard,          kNone,                       5, 340, 650,  90, kStyleGroupBox},
  {kClassStatic,      0, &T::labelSectorData,        kNone,                      18, 365, 150,  15, kStyleStatic},
  {kClassEdit,       38, nullptr,                    kNone,                     180, 363, 294,  23, kStyleDataEdit},
  {kClassButton,     23, &T::buttonGenerateUnique,   kNone,                     490, 363, 150,  23, kStylePushButton},
  {kClassButton,     24, &T::checkGenerateBeforeWrite, kNone,                   180, 395, 360,  23, kStyleCheckBox},
  {kClassButton,      0, &T::groupConverter,         kNone,                       5, 435, 650, 130, kStyleGroupBox},
  {kClassStatic,      0, nullptr,                    "Touch Memory: ",           18, 460, 100,  15, kStyleStatic},
  {kClassEdit,        0, nullptr,                    kNone,                     130, 457, 180,  23, kStyleReadOnlyEdit},
  {kClassStatic,      0, nullptr,                    "HEX: ",                    18, 495, 100,  15, kStyleStatic},
  {kClassEdit,        0, nullptr,                    kNone,                     130, 492, 180,  23, kStyleReadOnlyEdit},
  {kClassStatic,      0, nullptr,                    "DEC: ",                    18, 530, 100,  15, kStyleStatic},
  {kClassEdit,        0, nullptr,                    kNone,                     130, 527, 180,  23, kStyleReadOnlyEdit},
  {kClassButton,      0, &T::groupReaderInterface,   kNone,                     367, 457, 230,  93, kStyleGroupBox},
  {kClassButton,     35, nullptr,                    "Touch Memory, Wiegand 44", 379, 482, 215,  20, kStyleRadio},
  {kClassButton,     36, nullptr,                    "Wiegand 26",              379, 507, 150,  20, kStyleRadio},
  {kClassButton,      0, &T::groupOrvaneSettings,    kNone,                       5, 340, 650, 270, kStyleGroupBox},
  {kClassButton,      0, &T::groupInterfaces,        kNone,                      18, 365, 307, 110, kStyleGroupBox},
  {kClassButton,     25, nullptr,                    "Touch Memory",             30, 390, 120,  20, kStyleRadio},
  {kClassButton,     26, nullptr,                    "Wiegand 26",               30, 415, 120,  20, kStyleRadio},
  {kClassButton,     27, nullptr,                    "Wiegand 44",               30, 440, 120,  20, kStyleRadio},
  {kClassButton,      0, &T::groupIndicationControl, kNone,                     336, 365, 307, 110, kStyleGroupBox},
  {kClassButton,     28, &T::radioDirect,            kNone,                     348, 390, 190,  20, kStyleRadio},
  {kClassButton,     29, &T::radioInverse,           kNone,                     348, 415, 190,  20, kStyleRadio},
  {kClassButton,      0, &T::groupStandbyIndication, kNone,                      18, 485, 307, 110, kStyleGroupBox},
  {kClassButton,     30, &T::radioDynamic,           kNone,                      30, 510, 190,  20, kStyleRadio},
  {kClassButton,     31, &T::radioStatic,            kNone,                      30, 535, 190,  20, kStyleRadio},
  {kClassButton,     32, &T::radioStandbyOff,        kNone,                      30, 560, 190,  20, kStyleRadio},
  {kClassButton,      0, &T::groupTouchButtonPoll,   kNone,                     336, 485, 307, 110, kStyleGroupBox},
  {kClassButton,     33, &T::radioPollOn,            kNone,                     348, 510, 190,  20, kStyleRadio},
  {kClassButton,     34, &T::radioPollOff,           kNone,                     348, 535, 190,  20, kStyleRadio},
};

const RadioGroup kRadioGroups[kRadioGroupCount] = {
  {35, 36, 35, kRowConverterRadio1},  // converter format
  {25, 27, 25, 48},                   // output interface
  {28, 29, 28, 51},                   // indication
  {30, 32, 32, 55},                   // standby indication
  {33, 34, 33, kRowLast},             // touch button poll
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
