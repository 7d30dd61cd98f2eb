// The main form written out as the user must find it, and the shared steps of the form scenarios.
// The rows are kept apart from the program's own table so that a slip in either one shows.
#include "form_expectations.h"

#include "uidriver.h"

using namespace shown;

// clang-format off
const ExpectedControl kExpectedForm[kExpectedControlCount] = {
    {"Button", 0, &kGroupSettings, nullptr, 5, 5, 650, 65, 0x50020007},  // 1
    {"Static", 0, &kLabelProgrammerPort, nullptr, 18, 30, 125, 16, 0x50000000},  // 2
    {"Combobox", kIdPortList, nullptr, "", 150, 27, 328, 200, 0x50000003},  // 3
    {"Button", kIdSearch, &kButtonSearch, nullptr, 490, 27, 150, 23, 0x50000000},  // 4
    {"Static", 0, &kLabelVersion, nullptr, 18, 49, 55, 15, 0x50000000},  // 5
    {"Static", 0, nullptr, "x.xx", 75, 48, 30, 15, 0x50000000},  // 6
    {"Button", 0, &kGroupCard, nullptr, 5, 75, 650, 95, 0x50020007},  // 7
    {"Static", 0, &kLabelType, nullptr, 18, 100, 35, 15, 0x50000000},  // 8
    {"Combobox", kIdCardType, nullptr, "", 58, 97, 145, 60, 0x50000003},  // 9
    {"Button", kIdWrite, &kButtonWrite, nullptr, 215, 97, 150, 23, 0x50000000},  // 10
    {"Button", kIdRead, &kButtonRead, nullptr, 378, 97, 100, 23, 0x50000000},  // 11
    {"Button", kIdClear, &kButtonClear, nullptr, 490, 97, 150, 23, 0x50000000},  // 12
    {"Button", kIdWriteCyclically, &kButtonWriteCyclically, nullptr, 215, 130, 150, 23, 0x50000000},  // 13
    {"Button", kIdClearCyclically, &kButtonClearCyclically, nullptr, 490, 130, 150, 23, 0x50000000},  // 14
    {"Button", 0, &kGroupMasterCard, nullptr, 5, 175, 650, 160, 0x50020007},  // 15
    {"Static", 0, &kLabelWorkMode, nullptr, 18, 200, 100, 15, 0x50000000},  // 16
    {"Combobox", kIdWorkMode, nullptr, "", 160, 197, 482, 100, 0x50000003},  // 17
    {"Static", 0, &kLabelSectorNum, nullptr, 18, 230, 110, 15, 0x50000000},  // 18
    {"msctls_updown32", kIdSectorUpDown, nullptr, "", 0, 0, 0, 0, 0x50000006},  // 19
    {"Edit", kIdSectorEdit, nullptr, "", 160, 227, 80, 23, 0x50800800},  // 20
    {"Static", 0, &kLabelBlockNum, nullptr, 255, 230, 90, 15, 0x50000000},  // 21
    {"msctls_updown32", kIdBlockUpDown, nullptr, "", 0, 0, 0, 0, 0x50000006},  // 22
    {"Edit", kIdBlockEdit, nullptr, "", 355, 227, 80, 23, 0x50800800},  // 23
    {"Static", 0, &kLabelSystemKey, nullptr, 18, 260, 140, 15, 0x50000000},  // 24
    {"Edit", kIdKeyEdit, nullptr, "", 160, 257, 183, 23, 0x50800028},  // 25
    {"Button", kIdShowKey, &kCheckShowKey, nullptr, 355, 257, 120, 23, 0x50000002},  // 26
    {"Button", kIdGenerateRandom, &kButtonGenerateRandom, nullptr, 160, 295, 150, 23, 0x50000000},  // 27
    {"Button", kIdAddToList, &kButtonAddToList, nullptr, 325, 295, 150, 23, 0x50000000},  // 28
    {"Button", kIdShowList, &kButtonShowList, nullptr, 490, 295, 150, 23, 0x50000000},  // 29
    {"Button", 0, &kGroupUserCard, nullptr, 5, 340, 650, 90, 0x50020007},  // 30
    {"Static", 0, &kLabelSectorData, nullptr, 18, 365, 150, 15, 0x50000000},  // 31
    {"Edit", kIdDataEdit, nullptr, "", 180, 363, 294, 23, 0x50800008},  // 32
    {"Button", kIdGenerateUnique, &kButtonGenerateUnique, nullptr, 490, 363, 150, 23, 0x50000000},  // 33
    {"Button", kIdGenerateBeforeWrite, &kCheckGenerateBeforeWrite, nullptr, 180, 395, 360, 23, 0x50000002},  // 34
    {"Button", 0, &kGroupConverter, nullptr, 5, 435, 650, 130, 0x50020007},  // 35
    {"Static", 0, nullptr, "Touch Memory: ", 18, 460, 100, 15, 0x50000000},  // 36
    {"Edit", 0, nullptr, "", 130, 457, 180, 23, 0x50800800},  // 37
    {"Static", 0, nullptr, "HEX: ", 18, 495, 100, 15, 0x50000000},  // 38
    {"Edit", 0, nullptr, "", 130, 492, 180, 23, 0x50800800},  // 39
    {"Static", 0, nullptr, "DEC: ", 18, 530, 100, 15, 0x50000000},  // 40
    {"Edit", 0, nullptr, "", 130, 527, 180, 23, 0x50800800},  // 41
    {"Button", 0, &kGroupReaderInterface, nullptr, 367, 457, 230, 93, 0x50020007},  // 42
    {"Button", kIdConverterFormat0, nullptr, "Touch Memory, Wiegand 44", 379, 482, 215, 20, 0x50000009},  // 43
    {"Button", kIdConverterFormat1, nullptr, "Wiegand 26", 379, 507, 150, 20, 0x50000009},  // 44
    {"Button", 0, &kGroupOrvaneSettings, nullptr, 5, 340, 650, 270, 0x50020007},  // 45
    {"Button", 0, &kGroupInterfaces, nullptr, 18, 365, 307, 110, 0x50020007},  // 46
    {"Button", kIdInterfaceTouchMemory, nullptr, "Touch Memory", 30, 390, 120, 20, 0x50000009},  // 47
    {"Button", kIdInterfaceWiegand26, nullptr, "Wiegand 26", 30, 415, 120, 20, 0x50000009},  // 48
    {"Button", kIdInterfaceWiegand44, nullptr, "Wiegand 44", 30, 440, 120, 20, 0x50000009},  // 49
    {"Button", 0, &kGroupIndicationControl, nullptr, 336, 365, 307, 110, 0x50020007},  // 50
    {"Button", kIdIndicationDirect, &kRadioDirect, nullptr, 348, 390, 190, 20, 0x50000009},  // 51
    {"Button", kIdIndicationInverse, &kRadioInverse, nullptr, 348, 415, 190, 20, 0x50000009},  // 52
    {"Button", 0, &kGroupStandbyIndication, nullptr, 18, 485, 307, 110, 0x50020007},  // 53
    {"Button", kIdStandbyDynamic, &kRadioDynamic, nullptr, 30, 510, 190, 20, 0x50000009},  // 54
    {"Button", kIdStandbyStatic, &kRadioStatic, nullptr, 30, 535, 190, 20, 0x50000009},  // 55
    {"Button", kIdStandbyOff, &kRadioStandbyOff, nullptr, 30, 560, 190, 20, 0x50000009},  // 56
    {"Button", 0, &kGroupTouchButtonPoll, nullptr, 336, 485, 307, 110, 0x50020007},  // 57
    {"Button", kIdTouchPollOn, &kRadioPollOn, nullptr, 348, 510, 190, 20, 0x50000009},  // 58
    {"Button", kIdTouchPollOff, &kRadioPollOff, nullptr, 348, 535, 190, 20, 0x50000009},  // 59
};
// clang-format on

std::vector<HWND> FormChildren(HWND main) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

RECT ClientRectIn(HWND main, HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ChooseView(HWND main, int cardType, int workMode, int changedCombo) {
  SendMessageA(ui::Control(main, kIdCardType), CB_SETCURSEL, cardType, 0);
  SendMessageA(ui::Control(main, kIdWorkMode), CB_SETCURSEL, workMode, 0);
  // A combo box sends its notification to the main window, so the view has changed on return.
  ui::SendCommand(main, changedCombo, CBN_SELCHANGE);
}

std::string CaptionIn(const ExpectedControl& row, Language language) {
  return row.translated ? TextIn(*row.translated, language) : row.caption;
}
