// The scenario fixture of the reader link: the simulated reader plugged in or not as each
// scenario needs, English texts, and helpers that read the boxes in order and the link controls.
#pragma once

#include <string>
#include <vector>

#include "harness.h"
#include "reader_fixture.h"

class ReaderScenario : public KeyloomScenario {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plugs the reader in on its port beside the other ports, starts Keyloom and waits until it is
  // connected, with nothing received left; the main window.
  HWND StartConnected(const std::vector<std::string>& otherPorts = {}, const std::string& port = "COM5");
  // Starts Keyloom with only these ports and no reader, and waits until its search has said so.
  HWND StartWithoutReader(const std::vector<std::string>& ports);

  // The search's report that it found the reader on the port, then the handshake's "Settings read!".
  void ExpectFoundAndRead(const std::string& port = "COM5");
  // The program reopens its open port after a device change: WatchPortOpens before the change,
  // then PortOpenedAgain says whether it has opened the port since.
  void WatchPortOpens();
  bool PortOpenedAgain(int timeoutMs = kEventWaitMs);
  // For the given time the dialog stays the only one, over a disabled main window, with no wait.
  void ExpectHeldUnder(HWND main, HWND dialog, int ms);
  // The version label beside "Version: ".
  std::string Version(HWND main);
  HWND PortList(HWND main) { return ui::Control(main, kIdPortList); }
  std::vector<std::string> Ports(HWND main) { return ui::ComboItems(PortList(main)); }
  int SelectedPort(HWND main);
  // Picks a port in the list as a user does: it must be enabled.
  void PickPort(HWND main, int index);
  // The main window back and no wait left.
  void Idle(HWND main) { WaitUntilIdle(main); }
  // What the reader received since the last call, as text.
  std::string Received();
  // The reader answers the handshake this way ("version 1.00", "ok", "silent", ...).
  void Answer(const std::string& how);
};

// The report that the reader was found on a port.
std::string FoundText(const std::string& port);
// The bytes of an "ok HEX" answer of the reader's control port.
std::string AnswerBytes(const std::string& answer);

inline constexpr char kNoPorts[] = "No COM ports found in the system!";
inline constexpr char kNotFound[] = "Tarnel not found!";
inline constexpr char kSelectHint[] =
    "If you are sure that the reader is connected to the PC,\nselect a COM port from the list!";
inline constexpr char kSettingsRead[] = "Settings read!";
// The search's reports when there are ports but no reader on any of them.
inline const std::vector<Box> kNoReaderBoxes = {{kNotFound, kMessageError}, {kSelectHint, kMessageHint}};
inline constexpr char kNotSupported[] = "Firmware version not supported!";
inline constexpr char kInvalidCommand[] = "Invalid command!";
inline constexpr char kNotRecognized[] = "The answer could not be recognized!";
inline constexpr char kNoResponse[] = "The reader did not respond!\n(Try again or a different COM port).";
inline constexpr char kConnectionBroken[] = "Connection broken.\n\r(Tarnel disabled!)";
