// The hooks of each subsystem, all set here: which call of which subsystem answers which need.
#include "app/win/wiring.h"

#include <cstdlib>

#include "app/win/waits.h"
#include "link/timings.h"
#include "link/win/link_hooks.h"
#include "link/win/link_state.h"
#include "link/win/serial_port.h"
#include "protocol/win/card_commands.h"
#include "ui/win/main_form.h"
#include "protocol/win/card_reply_report.h"
#include "ui/win/modal_windows.h"

void WireSubsystems() {
  SetTimings(ParseTimings(std::getenv("KEYLOOM_TIMINGS")));
  // A hot-plug check that falls due while a window stays open over the main window waits for it.
  SetModalWindowHooks({HoldHotplugChecks, ReleaseHotplugChecks});
  SetLinkHooks({OpenWait, WaitRunning, HandleCardReply});
  CardHooks card;
  card.portOpen = LinkPortOpen;
  card.waitRunning = WaitRunning;
  card.openWait = OpenWait;
  card.writePort = WritePort;
  card.writeFailed = EndLinkAfterFailedWrite;
  SetCardHooks(card);
}
