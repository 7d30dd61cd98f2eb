// The reader lost at every step: pulled out, answering garbage, half a reply or too late during each
// wait, box and window of the link, one table row each; afterwards one wait at most was ever open,
// nothing was written to a reader that was gone, the link controls are right and a plug-in finds it.
#include <string>
#include <vector>

#include "card_scenario.h"

namespace {

enum class Step {
  kSearchDelay,      // timer 1 at start-up
  kFoundBox,         // the search's "Tarnel reader found!" box
  kHandshakeWait,    // timer 2
  kSettingsReadBox,  // the handshake's end action
  kHotplugDebounce,  // timer 3 after another device's change
  kCardWait,         // timer 4 of a Write
  kSuccessBox,       // the card wait's end action
  kKeysWindow,       // the keys list window open
  kCyclicRun,        // between the cards of "Write cyclically"
};

enum class Fault {
  kUnplugged,  // pulled out: gone from the system, and it answers nothing more
  kGarbage,    // line noise instead of the answer, or unasked
  kHalfReply,  // the first half of the answer, or unasked
  kLateReply,  // the answer after the wait for it is over, or an old answer unasked
  kQuickReply,  // sound, but quick: the final card reply right behind the acknowledgement, in one read
};

struct Row {
  const char* name;
  Step step;
  Fault fault;
  std::vector<Box> boxes;  // what the program reports after the fault, in order
  bool linkOpen;           // afterwards
  const char* version;
};

const Box kFound{"Tarnel reader found!\n\r->[COM5]", kSuccess};
const Box kRead{kSettingsRead, kSuccess};
const Box kDone{kOperationSuccessful, kSuccess};
const Box kBroken{kConnectionBroken, kError};
const Box kUnrecognized{kNotRecognized, kError};

// Reader faults where nothing was asked: the bytes arrive unasked and wait in the line.
const char kGarbageHex[] = "137F233F7E25676172626167650D0A";
const char kHalfAckHex[] = "202D204F";
const char kLateCardReplyHex[] = "202D204F4B210D0A0A0D41542B4441545F4F4B0D0A";

const Row kRows[] = {
    {"SearchDelay_Unplugged", Step::kSearchDelay, Fault::kUnplugged, {{kNotFound, kError}, {kSelectHint, kHint}}, false, "x.xx"},
    {"SearchDelay_Garbage", Step::kSearchDelay, Fault::kGarbage, {kFound, kRead}, true, "1.00"},
    {"SearchDelay_LateReply", Step::kSearchDelay, Fault::kLateReply, {kFound, kRead}, true, "1.00"},
    {"FoundBox_Unplugged", Step::kFoundBox, Fault::kUnplugged, {{"Error opening [COM5]!", kError}}, false, "x.xx"},
    {"FoundBox_HalfReply", Step::kFoundBox, Fault::kHalfReply, {kRead}, true, "1.00"},
    {"HandshakeWait_Unplugged", Step::kHandshakeWait, Fault::kUnplugged, {}, false, "x.xx"},
    {"HandshakeWait_Garbage", Step::kHandshakeWait, Fault::kGarbage, {kUnrecognized}, true, "x.xx"},
    {"HandshakeWait_HalfReply", Step::kHandshakeWait, Fault::kHalfReply, {kUnrecognized}, true, "x.xx"},
    {"HandshakeWait_LateReply", Step::kHandshakeWait, Fault::kLateReply, {}, false, "x.xx"},
    {"SettingsReadBox_Unplugged", Step::kSettingsReadBox, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"SettingsReadBox_LateReply", Step::kSettingsReadBox, Fault::kLateReply, {kDone}, true, "1.00"},
    {"HotplugDebounce_Unplugged", Step::kHotplugDebounce, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"HotplugDebounce_HalfReply", Step::kHotplugDebounce, Fault::kHalfReply, {kDone}, true, "1.00"},
    {"CardWait_Unplugged", Step::kCardWait, Fault::kUnplugged, {}, false, "x.xx"},
    {"CardWait_Garbage", Step::kCardWait, Fault::kGarbage, {kUnrecognized}, true, "1.00"},
    {"CardWait_HalfReply", Step::kCardWait, Fault::kHalfReply, {kUnrecognized}, true, "1.00"},
    {"CardWait_LateReply", Step::kCardWait, Fault::kLateReply, {}, false, "x.xx"},
    {"CardWait_QuickReply", Step::kCardWait, Fault::kQuickReply, {kDone}, true, "1.00"},
    {"SuccessBox_Unplugged", Step::kSuccessBox, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"SuccessBox_Garbage", Step::kSuccessBox, Fault::kGarbage, {kDone}, true, "1.00"},
    {"KeysWindow_Unplugged", Step::kKeysWindow, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"KeysWindow_LateReply", Step::kKeysWindow, Fault::kLateReply, {kDone}, true, "1.00"},
    {"CyclicRun_Unplugged", Step::kCyclicRun, Fault::kUnplugged, {}, false, "x.xx"},
    {"CyclicRun_Garbage", Step::kCyclicRun, Fault::kGarbage, {kUnrecognized}, true, "1.00"},
    {"CyclicRun_HalfReply", Step::kCyclicRun, Fault::kHalfReply, {kUnrecognized}, true, "1.00"},
    {"CyclicRun_LateReply", Step::kCyclicRun, Fault::kLateReply, {}, false, "x.xx"},
};

const char* const kStepNames[] = {"SearchDelay", "FoundBox",   "HandshakeWait", "SettingsReadBox", "HotplugDebounce",
                                  "CardWait",    "SuccessBox", "KeysWindow",    "CyclicRun"};

void PrintTo(Step step, std::ostream* out) { *out << kStepNames[static_cast<int>(step)]; }

class ReaderLost : public CardScenario, public ::testing::WithParamInterface<Step> {
 protected:
  // Waits for the next box, failing the row if a second wait ever opens meanwhile.
  void NextBox(const Box& expected, int timeoutMs = 30000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    ui::MessageBoxView box;
    while (!ui::WaitMessageBox(pid(), 40, &box, keyloomExe_)) {
      ASSERT_LE(ui::TopWindows(pid(), "msctls_progress32").size(), 1u) << "two waits at once";
      ASSERT_LT(GetTickCount64(), end) << "no box with: " << expected.text;
    }
    EXPECT_EQ(box.text, expected.text);
    EXPECT_EQ(box.iconId, expected.kind) << box.text;
    ASSERT_TRUE(ui::PressDialogButton(box.window, IDOK));
  }
  void NextBoxes(const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
      NextBox(box);
      if (HasFatalFailure()) return;
    }
  }
  // Idle with one wait at most until then; once the reader's port is off the list where it was
  // pulled out, no box comes after.
  void Settle(HWND main) {
    const ULONGLONG end = GetTickCount64() + 40000;
    while (!ui::Enabled(main) || !ui::TopWindows(pid(), "msctls_progress32").empty()) {
      ASSERT_LE(ui::TopWindows(pid(), "msctls_progress32").size(), 1u) << "two waits at once";
      ASSERT_LT(GetTickCount64(), end) << "the program did not come back";
      ui::Pause(40);
    }
    if (unplugged_) {
      EXPECT_TRUE(Eventually([&] { return Ports(main) == std::vector<std::string>{"COM2"}; }, 15000))
          << "the reader's port stayed listed";
    }
    ExpectNoBox();
  }
  // Waits until the reader has received at least this many bytes since the last Received().
  void WaitReceived(size_t bytes) {
    EXPECT_TRUE(Eventually([&] { return simreader::Control("received").size() >= 3 + 2 * bytes; }, 10000))
        << "the reader did not receive " << bytes << " bytes";
  }
  // Waits until the reader has sent a final card reply (not the acknowledgement) after `before`,
  // the "sent" answer when the scenario started to wait.
  void WaitCardReplySent(const std::string& before) {
    const std::string acknowledgement = "202D204F4B210D0A";
    EXPECT_TRUE(Eventually(
        [&] {
          const std::string sent = simreader::Control("sent");
          return sent != before && sent.size() > acknowledgement.size() &&
                 sent.compare(sent.size() - acknowledgement.size(), acknowledgement.size(), acknowledgement) != 0;
        },
        10000))
        << "no card reply went out";
  }

  void Control(const std::string& line) { ASSERT_TRUE(simreader::ControlOk(line)) << line; }
  void SendUnasked(const char* hex) { Control(std::string("send ") + hex); }

  // The reader pulled out: gone from the system and silent; Windows tells the program.
  void Unplug(HWND main) {
    simreader::UnplugReader({"COM2"});
    Control("unplug silent");
    Received();
    unplugged_ = true;
    simreader::DeliverDeviceChange(main);
  }
  // The fault of a step where the program has asked nothing.
  void Unasked(HWND main, Fault fault) {
    switch (fault) {
      case Fault::kUnplugged: Unplug(main); break;
      case Fault::kGarbage: SendUnasked(kGarbageHex); break;
      case Fault::kHalfReply: SendUnasked(kHalfAckHex); break;
      case Fault::kLateReply: SendUnasked(kLateCardReplyHex); break;
      case Fault::kQuickReply: break;
    }
  }
  // How the reader answers the next command under the fault; an unplug comes with the wait itself.
  void AnswerHandshake(Fault fault) {
    switch (fault) {
      case Fault::kUnplugged: Control("delay 600"); break;
      case Fault::kGarbage: Answer("garbage"); break;
      case Fault::kHalfReply: Answer("raw 41542B52454144535F555342202D"); break;
      case Fault::kLateReply: Control("delay 1600"); break;
      case Fault::kQuickReply: break;
    }
  }
  void AnswerCard(Fault fault) {
    switch (fault) {
      case Fault::kUnplugged: CardControl("replyafter 1500"); break;
      case Fault::kGarbage: CardControl("next garbage"); break;
      case Fault::kHalfReply: CardControl("next half"); break;
      case Fault::kLateReply: Control("delay 250"); break;
      case Fault::kQuickReply: CardControl("replyafter 0"); break;
    }
  }
  // The search from the start: Keyloom started with the reader plugged in, or SEARCH once a
  // row before has left it connected.
  HWND StartedWithReader(HWND main) {
    if (main != nullptr) {
      Press(main, 7);
      return main;
    }
    EXPECT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
    Present("card.card");
    return Start();
  }
  HWND Connected(HWND main) {
    if (main != nullptr) return main;
    main = StartedWithReader(main);
    if (main == nullptr) return nullptr;
    NextBoxes({kFound, kRead});
    Idle(main);
    EXPECT_EQ(Version(main), "1.00");
    Received();
    return main;
  }
  // A Write that runs as it should: the wait, then its report.
  void Write(HWND main) {
    Press(main, 9);
    EXPECT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", kEventWaitMs), nullptr) << "no card wait";
  }
  // Unless the reader is gone, the next Write runs as it should.
  void WriteUnlessUnplugged(HWND main, Fault fault) {
    if (fault == Fault::kUnplugged) return;
    Idle(main);
    Write(main);
  }
  // The fault hits while the program's box is open; OK closes it.
  void FaultUnderBox(HWND main, Fault fault, const Box& expected) {
    ui::MessageBoxView box;
    EXPECT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
    EXPECT_EQ(box.text, expected.text);
    Unasked(main, fault);
    ui::PressDialogButton(box.window, IDOK);
    WriteUnlessUnplugged(main, fault);
  }

  // Brings the program to the row's step, lets the fault hit there, and answers what follows.
  HWND RunStep(const Row& row, HWND main) {
    unplugged_ = false;
    switch (row.step) {
      case Step::kSearchDelay:
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        EXPECT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", kEventWaitMs), nullptr);
        Unasked(main, row.fault);
        break;
      case Step::kFoundBox: {
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        ui::MessageBoxView found;
        EXPECT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &found, keyloomExe_));
        EXPECT_EQ(found.text, kFound.text);
        if (row.fault == Fault::kUnplugged) {
          simreader::UnplugReader({"COM2"});
          unplugged_ = true;
        } else {
          Unasked(main, row.fault);
        }
        ui::PressDialogButton(found.window, IDOK);
        break;
      }
      case Step::kHandshakeWait: {
        AnswerHandshake(row.fault);
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        NextBox(kFound);
        EXPECT_NE(ui::WaitTopWindow(pid(), "msctls_progress32", kEventWaitMs), nullptr);
        if (row.fault == Fault::kUnplugged) Unplug(main);
        break;
      }
      case Step::kSettingsReadBox: {
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        NextBox(kFound);
        FaultUnderBox(main, row.fault, kRead);
        break;
      }
      case Step::kHotplugDebounce:
        main = Connected(main);
        if (main == nullptr) return nullptr;
        WatchPortOpens();
        simreader::DeliverDeviceChange(main);
        ui::Pause(timings().debounceMs / 4);
        Unasked(main, row.fault);
        if (row.fault != Fault::kUnplugged) {
          // The check reopens the port for the Write once the debounce is over.
          EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
          ExpectNoBox();
          Write(main);
        }
        break;
      case Step::kCardWait:
        main = Connected(main);
        if (main == nullptr) return nullptr;
        AnswerCard(row.fault);
        Write(main);
        if (row.fault == Fault::kUnplugged) {
          WaitReceived(27);
          Unplug(main);
        }
        break;
      case Step::kSuccessBox: {
        main = Connected(main);
        if (main == nullptr) return nullptr;
        Write(main);
        FaultUnderBox(main, row.fault, kDone);
        break;
      }
      case Step::kKeysWindow: {
        InstallShippedKeys();
        main = Connected(main);
        if (main == nullptr) return nullptr;
        ui::PostCommand(main, 22);
        HWND keys = ui::WaitTopWindow(pid(), "my Child Window", kEventWaitMs);
        EXPECT_NE(keys, nullptr);
        Unasked(main, row.fault);
        // Past the time the check would take had it run at once.
        ExpectNoBox(row.fault == Fault::kUnplugged ? timings().debounceMs + timings().reopenMs + 500 : kBoxGraceMs);
        PostMessageA(keys, WM_CLOSE, 0, 0);
        EXPECT_TRUE(ui::WaitNoTopWindow(pid(), "my Child Window", kEventWaitMs));
        WriteUnlessUnplugged(main, row.fault);
        break;
      }
      case Step::kCyclicRun: {
        main = Connected(main);
        if (main == nullptr) return nullptr;
        // "Write cyclically" of user cards in the card-ID mode with authentication.
        Choose(main, 8, 1);
        Choose(main, 14, 2);
        const std::string sentBefore = simreader::Control("sent");
        Press(main, 12);
        // The first card succeeds; the fault hits the second, sent a second after the first reply.
        if (row.fault == Fault::kUnplugged) {
          // Gone during the program's second-long pause before the next card.
          WaitCardReplySent(sentBefore);
          ui::Pause(400);
          Unplug(main);
        } else {
          WaitReceived(27);
          AnswerCard(row.fault);
        }
        break;
      }
    }
    return main;
  }

  // After the row: the reader plugged in again (or, still plugged in, found again by the way a user
  // would get it back) is found and connected.
  void FindAgain(HWND main, bool linkOpen) {
    Control("reset");
    Present("card.card");
    if (unplugged_) {
      ASSERT_TRUE(simreader::PlugReader("COM5", {"COM2"}));
      simreader::DeliverDeviceChange(main);
    } else if (linkOpen) {
      Press(main, 7);
    } else {
      simreader::DeliverDeviceChange(main);
    }
    NextBoxes({kFound, kRead});
    Idle(main);
    EXPECT_EQ(Version(main), "1.00");
    EXPECT_FALSE(ui::Enabled(PortList(main)));
  }

  bool unplugged_ = false;
};

// The rows of one step run one after another in one Keyloom, each from where the one before
// left it: connected again.
TEST_P(ReaderLost, ReportsAndRecovers) {
  const Step step = GetParam();
  // A fault inside one of the program's own waits needs the wait as long as it really is.
  if (step == Step::kSearchDelay || step == Step::kHandshakeWait || step == Step::kHotplugDebounce) UseRealTimings();
  if (step == Step::kKeysWindow) InstallShippedKeys();
  HWND main = nullptr;
  for (const Row& row : kRows) {
    if (row.step != step) continue;
    SCOPED_TRACE(row.name);
    main = RunStep(row, main);
    ASSERT_NE(main, nullptr);
    if (HasFatalFailure()) return;
    NextBoxes(row.boxes);
    if (HasFatalFailure()) return;
    Settle(main);
    ASSERT_EQ(WaitForSingleObject(program().process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "crashed";
    EXPECT_EQ(Version(main), row.version);
    const std::vector<std::string> ports =
        unplugged_ ? std::vector<std::string>{"COM2"} : std::vector<std::string>{"COM2", "COM5"};
    EXPECT_EQ(Ports(main), ports);
    EXPECT_EQ(ui::Enabled(PortList(main)), !row.linkOpen);
    // Only a frame already on its way when the reader went (the next card of a cyclic run) reaches it.
    if (unplugged_) {
      EXPECT_EQ(Received().size(), row.step == Step::kCyclicRun ? 27u : 0u) << "written to a reader that is gone";
    }
    FindAgain(main, row.linkOpen);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, ReaderLost,
                         ::testing::Values(Step::kSearchDelay, Step::kFoundBox, Step::kHandshakeWait,
                                           Step::kSettingsReadBox, Step::kHotplugDebounce, Step::kCardWait,
                                           Step::kSuccessBox, Step::kKeysWindow, Step::kCyclicRun),
                         [](const ::testing::TestParamInfo<Step>& info) {
                           return std::string(kStepNames[static_cast<int>(info.param)]);
                         });

}  // namespace
