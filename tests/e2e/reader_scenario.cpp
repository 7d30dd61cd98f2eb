// Scenario helpers for the reader link: boxes are read one by one so that their order is
// checked, and every scenario leaves the prefix without our ports, devices and links.
#include "reader_scenario.h"

#include "form_expectations.h"
#include "ui/form_layout.h"

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

HWND ReaderScenario::StartConnected(const std::vector<std::string>& otherPorts, const std::string& port) {
  EXPECT_TRUE(simreader::PlugReader(port, otherPorts));
  HWND main = Start();
  if (main == nullptr) return nullptr;
  ExpectFoundAndRead(port);
  Idle(main);
  EXPECT_EQ(Version(main), "1.00");
  Received();
  return main;
}

HWND ReaderScenario::StartWithoutReader(const std::vector<std::string>& ports) {
  EXPECT_TRUE(simreader::SetSerialPorts(ports));
  HWND main = Start();
  if (main == nullptr) return nullptr;
  ExpectBoxes(kNoReaderBoxes);
  Idle(main);
  return main;
}

void ReaderScenario::ExpectFoundAndRead(const std::string& port) {
  ExpectBoxes({{FoundText(port), kMessageSuccess}, {kSettingsRead, kMessageSuccess}});
}

void ReaderScenario::WatchPortOpens() { ASSERT_EQ(simreader::Control("configured").rfind("ok", 0), 0u); }

bool ReaderScenario::PortOpenedAgain(int timeoutMs) {
  return Eventually([] { return simreader::Control("configured") == "ok 1"; }, timeoutMs);
}

void ReaderScenario::ExpectHeldUnder(HWND main, HWND dialog, int ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  const size_t waits = WaitsOpened();
  while (GetTickCount64() < end) {
    ASSERT_EQ(WaitsOpened(), waits) << "a wait opened under the dialog";
    ASSERT_EQ(ui::TopWindows(pid(), "#32770"), std::vector<HWND>{dialog}) << "another box opened";
    ASSERT_FALSE(ui::Enabled(main)) << "the main window came back under the dialog";
    ui::Pause(50);
  }
}

std::string ReaderScenario::Version(HWND main) {
  const std::vector<HWND> children = FormChildren(main);
  if (children.size() > kRowVersionValue) return ui::Text(children[kRowVersionValue]);
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
  ui::PostCommand(main, kIdPortList, CBN_SELCHANGE);
}

std::string ReaderScenario::Received() {
  const std::string answer = simreader::Control("received");
  simreader::Control("clear");
  return AnswerBytes(answer);
}

void ReaderScenario::Answer(const std::string& how) { ASSERT_TRUE(simreader::ControlOk("answer " + how)); }

std::string FoundText(const std::string& port) { return "Tarnel reader found!\n\r->[" + port + "]"; }

std::string AnswerBytes(const std::string& answer) {
  std::string bytes;
  if (answer.compare(0, 3, "ok ") != 0) {
    ADD_FAILURE() << "reader answered: " << answer;
    return bytes;
  }
  for (size_t i = 3; i + 1 < answer.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(answer.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}
