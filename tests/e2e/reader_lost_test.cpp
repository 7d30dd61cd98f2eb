// The reader lost at every step: pulled out (its line dead, or still open but silent), answering
// garbage, half a reply or too late during each wait, box and window of the link, one table row
// each; afterwards one wait at most was ever open, nothing was written to a reader that was gone,
// the link controls are right and a plug-in finds it, in another socket after a pull.
#include <string>
#include <vector>

#include "card_scenario.h"
#include "keystore/win/keys_window.h"

namespace {

enum class Step {
  kSearchDelay,      // timer 1 at start-up
  kFoundBox,         // the search's "Tarnel reader found!" box
  kHandshakeWait,    // timer 2
  kSettingsReadBox,  // the handshake's end action
  kHotplugDebounce,  // timer 3 after another device's change
  kCardWait,         // timer 4 of a Write
  kCardWaitByHand,   // timer 4 of a Write to a port picked by hand
  kSuccessBox,       // the card wait's end action
  kKeysWindow,       // the keys list window open
  kAddNew,           // "Add new" in the keys list window
  kCyclicPause,      // the pause between two cards of "Write cyclically"
  kCyclicRun,        // the second card's wait of "Write cyclically"
};

enum class Fault {
  kPulled,       // pulled out: gone from the system, its line dead, so the port's calls fail
  kUnplugged,    // gone from the system, its line still open but silent: the port's calls only time out
  kPulledOnFrame,  // pulled out the moment the card frame is in, before the first tick reads
  kGarbage,    // line noise instead of the answer, or unasked
  kHalfReply,  // the first half of the answer, or unasked
  kLateReply,  // the answer after the wait for it is over, or an old answer unasked
  kQuickReply,  // sound, but quick: the final card reply right behind the acknowledgement, in one read
};

bool Gone(Fault fault) { return fault == Fault::kPulled || fault == Fault::kUnplugged || fault == Fault::kPulledOnFrame; }

struct Row {
  const char* name;
  Step step;
  Fault fault;
  std::vector<Box> boxes;  // what the program reports after the fault, in order; "{port}" the reader's
  bool linkOpen;           // afterwards
  const char* version;
};

const Box kFound{"Tarnel reader found!\n\r->[{port}]", kMessageSuccess};
const Box kRead{kSettingsRead, kMessageSuccess};
const Box kDone{kOperationSuccessful, kMessageSuccess};
const Box kBroken{kConnectionBroken, kMessageError};
const Box kUnrecognized{kNotRecognized, kMessageError};

// Reader faults where nothing was asked: the bytes arrive unasked and wait in the line.
const char kGarbageHex[] = "137F233F7E25676172626167650D0A";
const char kHalfAckHex[] = "202D204F";
const char kLateCardReplyHex[] = "202D204F4B210D0A0A0D41542B4441545F4F4B0D0A";

// A reader gone while no port is open is not found by the search; once a port was open, its loss
// is told once, as "Connection broken", whichever way the reader went and wherever it was.
const Row kRows[] = {
    {"SearchDelay_Pulled", Step::kSearchDelay, Fault::kPulled, kNoReaderBoxes, false, "x.xx"},
    {"SearchDelay_Unplugged", Step::kSearchDelay, Fault::kUnplugged, kNoReaderBoxes, false, "x.xx"},
    {"SearchDelay_Garbage", Step::kSearchDelay, Fault::kGarbage, {kFound, kRead}, true, "1.00"},
    {"SearchDelay_LateReply", Step::kSearchDelay, Fault::kLateReply, {kFound, kRead}, true, "1.00"},
    {"FoundBox_Pulled", Step::kFoundBox, Fault::kPulled, {{"Error opening [{port}]!", kMessageError}}, false, "x.xx"},
    {"FoundBox_HalfReply", Step::kFoundBox, Fault::kHalfReply, {kRead}, true, "1.00"},
    {"HandshakeWait_Pulled", Step::kHandshakeWait, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"HandshakeWait_Unplugged", Step::kHandshakeWait, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"HandshakeWait_Garbage", Step::kHandshakeWait, Fault::kGarbage, {kUnrecognized}, true, "x.xx"},
    {"HandshakeWait_HalfReply", Step::kHandshakeWait, Fault::kHalfReply, {kUnrecognized}, true, "x.xx"},
    {"HandshakeWait_LateReply", Step::kHandshakeWait, Fault::kLateReply, {}, false, "x.xx"},
    {"SettingsReadBox_Pulled", Step::kSettingsReadBox, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"SettingsReadBox_LateReply", Step::kSettingsReadBox, Fault::kLateReply, {kDone}, true, "1.00"},
    {"HotplugDebounce_Pulled", Step::kHotplugDebounce, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"HotplugDebounce_HalfReply", Step::kHotplugDebounce, Fault::kHalfReply, {kDone}, true, "1.00"},
    // A dead line fails the next tick's poll; a silent one is found gone when the debounce is over.
    {"CardWait_Pulled", Step::kCardWait, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"CardWait_Unplugged", Step::kCardWait, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"CardWait_PulledOnTheFrame", Step::kCardWait, Fault::kPulledOnFrame, {kBroken}, false, "x.xx"},
    {"CardWait_Garbage", Step::kCardWait, Fault::kGarbage, {kUnrecognized}, true, "1.00"},
    {"CardWait_HalfReply", Step::kCardWait, Fault::kHalfReply, {kUnrecognized}, true, "1.00"},
    {"CardWait_LateReply", Step::kCardWait, Fault::kLateReply, {}, false, "x.xx"},
    {"CardWait_QuickReply", Step::kCardWait, Fault::kQuickReply, {kDone}, true, "1.00"},
    // A port picked by hand is told the same, not asked to try another port.
    {"CardWaitByHand_Pulled", Step::kCardWaitByHand, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"CardWaitByHand_Unplugged", Step::kCardWaitByHand, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"SuccessBox_Pulled", Step::kSuccessBox, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"SuccessBox_Garbage", Step::kSuccessBox, Fault::kGarbage, {kDone}, true, "1.00"},
    {"KeysWindow_Pulled", Step::kKeysWindow, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"KeysWindow_LateReply", Step::kKeysWindow, Fault::kLateReply, {kDone}, true, "1.00"},
    {"AddNew_Pulled", Step::kAddNew, Fault::kPulled, {kBroken}, false, "x.xx"},
    // Gone in the pause between two cyclic cards: the next card is not sent.
    {"CyclicPause_Pulled", Step::kCyclicPause, Fault::kPulled, {kBroken}, false, "x.xx"},
    {"CyclicPause_Unplugged", Step::kCyclicPause, Fault::kUnplugged, {kBroken}, false, "x.xx"},
    {"CyclicRun_Garbage", Step::kCyclicRun, Fault::kGarbage, {kUnrecognized}, true, "1.00"},
    {"CyclicRun_HalfReply", Step::kCyclicRun, Fault::kHalfReply, {kUnrecognized}, true, "1.00"},
    {"CyclicRun_LateReply", Step::kCyclicRun, Fault::kLateReply, {}, false, "x.xx"},
};

const char* const kStepNames[] = {"SearchDelay", "FoundBox",   "HandshakeWait", "SettingsReadBox",
                                  "HotplugDebounce", "CardWait", "CardWaitByHand", "SuccessBox",
                                  "KeysWindow",  "AddNew",     "CyclicPause",   "CyclicRun"};

void PrintTo(Step step, std::ostream* out) { *out << kStepNames[static_cast<int>(step)]; }

class ReaderLost : public CardScenario, public ::testing::WithParamInterface<Step> {
 protected:
  // A text with "{port}" standing for the reader's socket now.
  std::string Here(const std::string& text) const {
    std::string here = text;
    const size_t at = here.find("{port}");
    if (at != std::string::npos) here.replace(at, 6, port_);
    return here;
  }
  // Waits for the next box, failing the row if a second wait ever opens meanwhile.
  void NextBox(const Box& expected, int timeoutMs = 30000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    ui::MessageBoxView box;
    while (!ui::WaitMessageBox(pid(), 40, &box, keyloomExe_)) {
      ASSERT_LE(WaitsOpen(), 1u) << "two waits at once";
      ASSERT_LT(GetTickCount64(), end) << "no box with: " << Here(expected.text);
    }
    EXPECT_EQ(box.text, Here(expected.text));
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
    while (!ui::Enabled(main) || WaitsOpen() != 0) {
      ASSERT_LE(WaitsOpen(), 1u) << "two waits at once";
      ASSERT_LT(GetTickCount64(), end) << "the program did not come back";
      ui::Pause(40);
    }
    if (gone_) {
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

  // The reader gone from the system, its line dead or silent, and Windows tells the program.
  void Unplug(HWND main, Fault fault) {
    if (fault == Fault::kPulled) {
      ASSERT_TRUE(simreader::PullReader({"COM2"}));
    } else {
      simreader::UnplugReader({"COM2"});
      Control("unplug silent");
    }
    Received();
    gone_ = true;
    goneAt_ = GetTickCount64();
    simreader::DeliverDeviceChange(main);
  }
  // The fault of a step where the program has asked nothing.
  void Unasked(HWND main, Fault fault) {
    switch (fault) {
      case Fault::kPulled:
      case Fault::kUnplugged: Unplug(main, fault); break;
      case Fault::kGarbage: SendUnasked(kGarbageHex); break;
      case Fault::kHalfReply: SendUnasked(kHalfAckHex); break;
      case Fault::kLateReply: SendUnasked(kLateCardReplyHex); break;
      case Fault::kPulledOnFrame:
      case Fault::kQuickReply: break;
    }
  }
  // How the reader answers the next command under the fault; an unplug comes with the wait itself.
  void AnswerHandshake(Fault fault) {
    if (Gone(fault)) Control("delay 600");
    if (fault == Fault::kGarbage) Answer("garbage");
    if (fault == Fault::kHalfReply) Answer("raw 41542B52454144535F555342202D");
    if (fault == Fault::kLateReply) Control("delay 1600");
  }
  void AnswerCard(Fault fault) {
    if (Gone(fault)) CardControl("replyafter 1500");
    if (fault == Fault::kGarbage) CardControl("next garbage");
    if (fault == Fault::kHalfReply) CardControl("next half");
    if (fault == Fault::kLateReply) Control("delay 250");
    if (fault == Fault::kQuickReply) CardControl("replyafter 0");
  }
  // The search from the start: Keyloom started with the reader plugged in, or SEARCH once a
  // row before has left it connected.
  HWND StartedWithReader(HWND main) {
    if (main != nullptr) {
      Press(main, kIdSearch);
      return main;
    }
    EXPECT_TRUE(simreader::PlugReader(port_, {"COM2"}));
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
  // The reader's port picked by hand: the reader's line and port are there, its USB identity is not.
  void PickReaderByHand(HWND main) {
    EXPECT_TRUE(Eventually([&] { return Ports(main) == std::vector<std::string>{"COM2", port_}; }));
    PickPort(main, 1);
    NextBoxes({kRead});
    Idle(main);
    EXPECT_EQ(Version(main), "1.00");
    Received();
  }
  HWND ConnectedByHand(HWND main) {
    if (main != nullptr) return main;
    EXPECT_TRUE(simreader::LinkPort(port_) && simreader::SetSerialPorts({"COM2", port_}));
    Present("card.card");
    main = Start();
    if (main == nullptr) return nullptr;
    NextBoxes(kNoReaderBoxes);
    Idle(main);
    PickReaderByHand(main);
    return main;
  }
  // A Write that runs as it should: the wait, then its report.
  void Write(HWND main) {
    const size_t waits = WaitsOpened();
    Press(main, kIdWrite);
    EXPECT_EQ(NextWaitCaption(waits), "Present the card to the reader...");
  }
  // Unless the reader is gone, the next Write runs as it should.
  void WriteUnlessGone(HWND main, Fault fault) {
    if (Gone(fault)) return;
    Idle(main);
    Write(main);
  }
  // The fault hits while the program's box is open; OK closes it.
  void FaultUnderBox(HWND main, Fault fault, const Box& expected) {
    ui::MessageBoxView box;
    EXPECT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &box, keyloomExe_));
    EXPECT_EQ(box.text, Here(expected.text));
    Unasked(main, fault);
    ui::PressDialogButton(box.window, IDOK);
    WriteUnlessGone(main, fault);
  }
  // Brings the program to the row's step, lets the fault hit there, and answers what follows.
  HWND RunStep(const Row& row, HWND main) {
    gone_ = false;
    switch (row.step) {
      case Step::kSearchDelay: {
        const size_t waits = main == nullptr ? 0 : WaitsOpened();
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        EXPECT_EQ(NextWaitCaption(waits), "Search for Tarnel reader");
        Unasked(main, row.fault);
        break;
      }
      case Step::kFoundBox: {
        main = StartedWithReader(main);
        if (main == nullptr) return nullptr;
        ui::MessageBoxView found;
        EXPECT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &found, keyloomExe_));
        EXPECT_EQ(found.text, Here(kFound.text));
        if (Gone(row.fault)) {
          EXPECT_TRUE(simreader::PullReader({"COM2"}));
          gone_ = true;
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
        ui::MessageBoxView found;
        EXPECT_TRUE(ui::WaitMessageBox(pid(), kEventWaitMs, &found, keyloomExe_));
        EXPECT_EQ(found.text, Here(kFound.text));
        const size_t waits = WaitsOpened();
        ui::PressDialogButton(found.window, IDOK);
        EXPECT_EQ(NextWaitCaption(waits), "Reading Tarnel settings");
        if (Gone(row.fault)) Unplug(main, row.fault);
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
        if (!Gone(row.fault)) {
          // The check reopens the port for the Write once the debounce is over.
          EXPECT_TRUE(PortOpenedAgain()) << "the port was not reopened";
          ExpectNoBox();
          Write(main);
        }
        break;
      case Step::kCardWait:
      case Step::kCardWaitByHand:
        main = row.step == Step::kCardWait ? Connected(main) : ConnectedByHand(main);
        if (main == nullptr) return nullptr;
        if (row.fault == Fault::kPulledOnFrame) {
          // Out of the system as the frame goes out, and its line closes once the frame is in.
          simreader::UnplugReader({"COM2"});
          CardControl("next pulled");
          gone_ = true;
          goneAt_ = GetTickCount64();
          Press(main, kIdWrite);
          WaitReceived(27);
          Received();
          simreader::DeliverDeviceChange(main);
          break;
        }
        AnswerCard(row.fault);
        Write(main);
        if (Gone(row.fault)) {
          WaitReceived(27);
          Unplug(main, row.fault);
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
        main = Connected(main);
        if (main == nullptr) return nullptr;
        // The check is held while the keys list window is open.
        HWND keys = OpenKeysList(main, kIdShowList);
        Unasked(main, row.fault);
        // Past the time the check would take had it run at once.
        ExpectNoBox(Gone(row.fault) ? timings().debounceMs + timings().reopenMs + 500 : kBoxGraceMs);
        CloseKeysList(keys);
        WriteUnlessGone(main, row.fault);
        break;
      }
      case Step::kAddNew: {
        main = Connected(main);
        if (main == nullptr) return nullptr;
        HWND keys = OpenKeysList(main, kIdAddToList);
        ui::PostCommand(keys, kIdKeysAddNew);
        Unplug(main, row.fault);
        EXPECT_EQ(KeysListRows(keys, 2).size(), 2u) << "the key was not added";
        ExpectNoBox(timings().debounceMs + timings().reopenMs + 500);
        CloseKeysList(keys);
        break;
      }
      case Step::kCyclicPause:
      case Step::kCyclicRun: {
        main = Connected(main);
        if (main == nullptr) return nullptr;
        // "Write cyclically" of user cards in the card-ID mode with authentication.
        ChooseView(main, kUserCard, kModeCardIdAuth);
        const std::string sentBefore = simreader::Control("sent");
        Press(main, kIdWriteCyclically);
        // The first card succeeds; the fault hits in the pause after it, or the second card.
        if (row.step == Step::kCyclicPause) {
          WaitCardReplySent(sentBefore);
          EXPECT_TRUE(Eventually([&] { return WaitsOpen() == 0; }))
              << "the first card's wait did not end";
          EXPECT_FALSE(ui::Enabled(main)) << "the run is over before its pause; version " << Version(main);
          Unplug(main, row.fault);
        } else {
          WaitReceived(27);
          AnswerCard(row.fault);
        }
        break;
      }
    }
    return main;
  }

  // After the row: the reader plugged in again (in another socket once it was gone), or, still
  // plugged in, found again by the way a user would get it back, and connected.
  void FindAgain(HWND main, const Row& row) {
    Control("reset");
    Present("card.card");
    if (gone_) {
      port_ = port_ == "COM5" ? "COM12" : "COM5";
      if (row.step == Step::kCardWaitByHand) {
        ASSERT_TRUE(simreader::LinkPort(port_) && simreader::SetSerialPorts({"COM2", port_}));
        simreader::DeliverDeviceChange(main);
        PickReaderByHand(main);
      } else {
        ASSERT_TRUE(simreader::PlugReader(port_, {"COM2"}));
        simreader::DeliverDeviceChange(main);
        NextBoxes({kFound, kRead});
      }
    } else if (row.linkOpen) {
      Press(main, kIdSearch);
      NextBoxes({kFound, kRead});
    } else {
      simreader::DeliverDeviceChange(main);
      NextBoxes({kFound, kRead});
    }
    if (HasFatalFailure()) return;
    Idle(main);
    EXPECT_EQ(Version(main), "1.00");
    EXPECT_FALSE(ui::Enabled(PortList(main)));
    if (!gone_) return;
    // The next card operation goes to the reader in its new socket.
    Received();
    Write(main);
    NextBox(kDone);
    Idle(main);
    EXPECT_EQ(Received().size(), 27u) << "the frame did not reach " << port_;
  }

  std::string port_ = "COM5";
  bool gone_ = false;
  ULONGLONG goneAt_ = 0;
};

// A card wait that polls its reader out takes at least its last tick times a read's time-out; one
// whose reader is gone ends well before.
constexpr ULONGLONG kCardWaitPolledOutMs = 165 * 60;

// The rows of one step run one after another in one Keyloom, each from where the one before
// left it: connected again.
TEST_P(ReaderLost, ReportsAndRecovers) {
  const Step step = GetParam();
  // A fault inside one of the program's own waits needs the wait as long as it really is.
  if (step == Step::kSearchDelay || step == Step::kHandshakeWait || step == Step::kHotplugDebounce) UseRealTimings();
  if (step == Step::kCyclicPause) UseLongCyclicPause();
  if (step == Step::kKeysWindow || step == Step::kAddNew) InstallShippedKeys();
  HWND main = nullptr;
  for (const Row& row : kRows) {
    if (row.step != step) continue;
    SCOPED_TRACE(row.name);
    main = RunStep(row, main);
    ASSERT_NE(main, nullptr);
    if (HasFatalFailure()) return;
    NextBoxes(row.boxes);
    if (HasFatalFailure()) return;
    if (gone_ && (step == Step::kCardWait || step == Step::kCardWaitByHand)) {
      EXPECT_LT(GetTickCount64() - goneAt_, kCardWaitPolledOutMs / 2) << "the wait polled its lost reader out";
    }
    Settle(main);
    ASSERT_EQ(WaitForSingleObject(program().process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "crashed";
    EXPECT_EQ(Version(main), row.version);
    const std::vector<std::string> ports = gone_ ? std::vector<std::string>{"COM2"} : std::vector<std::string>{"COM2", port_};
    EXPECT_EQ(Ports(main), ports);
    EXPECT_EQ(ui::Enabled(PortList(main)), !row.linkOpen);
    if (gone_) {
      EXPECT_EQ(Received().size(), 0u) << "written to a reader that is gone";
    }
    FindAgain(main, row);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, ReaderLost,
                         ::testing::Values(Step::kSearchDelay, Step::kFoundBox, Step::kHandshakeWait,
                                           Step::kSettingsReadBox, Step::kHotplugDebounce, Step::kCardWait,
                                           Step::kCardWaitByHand, Step::kSuccessBox, Step::kKeysWindow,
                                           Step::kAddNew, Step::kCyclicPause, Step::kCyclicRun),
                         [](const ::testing::TestParamInfo<Step>& info) {
                           return std::string(kStepNames[static_cast<int>(info.param)]);
                         });

}  // namespace
