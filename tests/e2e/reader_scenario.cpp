// Scenario helpers for the reader link: boxes are read one by one so that their order is
// checked, and every scenario leaves the prefix without our ports, devices and links.
#include "reader_scenario.h"

void ReaderScenario::SetUp() {
  KeyloomScenario::SetUp();
  answerSearchReports_ = false;
  simreader::Clean();
  ASSERT_TRUE(simreader::ControlOk("ping")) << "the simulated reader is not running";
  WriteFile("appconfig.ini", "Language = EN;\r\n");
}

void ReaderScenario::TearDown() {
  KeyloomScenario::TearDown();
  simreader::Clean();
}

void ReaderScenario::ExpectBox(const std::string& text, int kind, int timeoutMs) {
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(pid(), timeoutMs, &box, keyloomExe_)) << "no box with: " << text;
  EXPECT_EQ(box.caption, "Message");
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.iconId, kind) << box.text;
  ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
}

void ReaderScenario::ExpectNoBox(int ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    const std::vector<HWND> boxes = ui::TopWindows(pid(), "#32770");
    ASSERT_TRUE(boxes.empty()) << "unexpected box: " << ui::Text(GetDlgItem(boxes.front(), 0xFFFF));
    ui::Pause(50);
  }
}

std::string ReaderScenario::Version(HWND main) {
  for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ui::ClassOf(child) == "Static" && ui::Text(child) == "Version: ") {
      return ui::Text(GetWindow(child, GW_HWNDNEXT));
    }
  }
  ADD_FAILURE() << "no version label";
  return std::string();
}

int ReaderScenario::SelectedPort(HWND main) {
  return static_cast<int>(SendMessageA(PortList(main), CB_GETCURSEL, 0, 0));
}

void ReaderScenario::PickPort(HWND main, int index) {
  ASSERT_TRUE(ui::Enabled(main));
  ASSERT_TRUE(ui::Enabled(PortList(main)));
  SendMessageA(PortList(main), CB_SETCURSEL, index, 0);
  ui::PostCommand(main, 6, CBN_SELCHANGE);
}

std::string ReaderScenario::Received() {
  const std::string answer = simreader::Control("received");
  simreader::Control("clear");
  std::string bytes;
  for (size_t i = 3; i + 1 < answer.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(answer.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

void ReaderScenario::Answer(const std::string& how) { ASSERT_TRUE(simreader::ControlOk("answer " + how)); }

std::string FoundText(const std::string& port) { return "Tarnel reader found!\n\r->[" + port + "]"; }
