// The main form built on a hidden window under Wine and used only through its owner's calls: the
// settings read back as the controls show them, a record put on the form, and the port list.
#include "ui/win/main_form.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/card_commands.h"
#include "ui/control_ids.h"
#include "ui/form_layout.h"
#include "ui/ui_text.h"

namespace {

class MainForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_language = kEnglish;
    SelectUiText();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    g_instance = GetModuleHandleA(nullptr);
    g_mainWindow = CreateWindowExA(0, "STATIC", "form", WS_OVERLAPPEDWINDOW, 0, 0, kMainWindowWidth,
                                   kMainWindowHeight, nullptr, nullptr, g_instance, nullptr);
    BuildMainForm();
    CompleteMainForm();
  }
  static void TearDownTestSuite() { DestroyWindow(g_mainWindow); }
  static void Select(int id, int index) { SendDlgItemMessageA(g_mainWindow, id, CB_SETCURSEL, index, 0); }
  static void Check(int id, bool checked) { CheckDlgButton(g_mainWindow, id, checked ? BST_CHECKED : BST_UNCHECKED); }
  // The text of a control that has no identifier, by its row in the form table.
  static std::string TextOfRow(int row) {
    HWND control = GetWindow(g_mainWindow, GW_CHILD);
    for (int i = 0; i < row && control != nullptr; ++i) control = GetWindow(control, GW_HWNDNEXT);
    char text[64] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
  }
  static std::string Text(int id) {
    char text[64] = {};
    GetDlgItemTextA(g_mainWindow, id, text, sizeof text);
    return text;
  }
};

TEST_F(MainForm, SettingsAreReadAsTheControlsShowThem) {
  const FormSettings start = ReadFormSettings();
  EXPECT_EQ(start.cardType, kCardMaster);
  EXPECT_EQ(start.workMode, 0);
  const std::vector<int> startRadios = {0, 0, 2, 0};
  EXPECT_EQ(std::vector<int>(start.radio, start.radio + kReaderSettingCount), startRadios);
  EXPECT_FALSE(start.showKey);
  EXPECT_FALSE(start.generateBeforeWrite);

  Select(kIdCardType, kCardUser);
  Select(kIdWorkMode, 3);
  // Checked beside the buttons checked at the start: in each group the first one counts. None: -1.
  for (int id : {kIdIndicationInverse, kIdStandbyStatic, kIdTouchPollOff}) Check(id, true);
  for (int id : {kIdInterfaceTouchMemory, kIdInterfaceWiegand26, kIdInterfaceWiegand44}) Check(id, false);
  Check(kIdGenerateBeforeWrite, true);
  const FormSettings read = ReadFormSettings();
  EXPECT_EQ(read.cardType, kCardUser);
  EXPECT_EQ(read.workMode, 3);
  const std::vector<int> readRadios = {-1, 0, 1, 0};
  EXPECT_EQ(std::vector<int>(read.radio, read.radio + kReaderSettingCount), readRadios);
  EXPECT_TRUE(read.generateBeforeWrite);
  Check(kIdGenerateBeforeWrite, false);
}

// A card block's record: the radios, the work mode, sector, block and data reach the controls and
// FormState, and new sector data reaches the converter.
TEST_F(MainForm, ARecordIsPutOnTheForm) {
  FormRecord record;
  const int radios[kReaderSettingCount] = {1, 1, 0, 1};
  std::copy(radios, radios + kReaderSettingCount, record.radio);
  record.workMode = 1;
  record.sector = 9;
  record.block = 2;
  record.hasData = true;
  const uint8_t data[7] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
  std::copy(data, data + 7, record.data);
  ShowFormRecord(record);
  const FormSettings read = ReadFormSettings();
  EXPECT_EQ(read.workMode, 1);
  EXPECT_EQ(std::vector<int>(read.radio, read.radio + kReaderSettingCount), std::vector<int>(radios, radios + 4));
  EXPECT_EQ(g_form.sectorNumber, 9);
  EXPECT_EQ(g_form.blockNumber, 2);
  EXPECT_EQ(Text(kIdDataEdit), "01 02 03 04 05 06 07");
  EXPECT_EQ(TextOfRow(kRowHexEdit), "0504030201");
  // A setting out of its group's range is passed over; sector and block are kept in theirs.
  record.radio[kGroupOutputInterface] = 3;
  record.sector = 40;
  ShowFormRecord(record);
  EXPECT_EQ(ReadFormSettings().radio[kGroupOutputInterface], 1);
  EXPECT_EQ(g_form.sectorNumber, 15);
}

TEST_F(MainForm, ThePortListShowsThePortsGivenOrOneEmptyEntry) {
  ShowPortList({"COM3", "COM12"});
  EXPECT_EQ(ChosenPort(), "COM3");
  SelectListedPort(1);
  EXPECT_EQ(ChosenPort(), "COM12");
  EnablePortList(false);
  ShowPortList({});
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(g_mainWindow, kIdPortList)));
  EXPECT_EQ(SendDlgItemMessageA(g_mainWindow, kIdPortList, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ChosenPort(), "");
  EXPECT_FALSE(PortListDroppedDown());
}

// The block carries one code per radio button: each reader setting's group on the form has as
// many buttons as the setting has codes.
TEST_F(MainForm, EachSettingHasOneRadioPerCode) {
  for (int setting = 0; setting < kSettingGroupCount; ++setting) {
    const RadioGroup& buttons = kRadioGroups[kReaderSettingGroups[setting]];
    EXPECT_EQ(buttons.last - buttons.first + 1, kSettingGroups[setting].buttonCount) << "setting " << setting;
  }
}

}  // namespace
