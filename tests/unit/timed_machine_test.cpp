// The timed machine over sequences of events, each with the actions it must give: every wait's end,
// one wait at a time, ticks of modal loops dropped, and the hot-plug check held back past every
// wait and every box, menu or window a device change can come under.
#include "app/timed_machine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// An event, "open T", "tick T" (the main loop's), "modal-tick T" (a box's, dialog's or menu's loop),
// "device [PORT]" (device nodes changed, PORT open then), "other-device", "idle", "idle port-open",
// "window-opened", "window-closed", "end-wait", "card-end goes|cut-short|ended|next" (next: a cyclic
// run goes on), "port-gone" (the open port left the system under a wait), "check-done open|closed"
// (the link after a check), "stop-all"; " xN" repeats it, each time with the same actions.
struct Step {
  const char* event;
  const char* actions;  // as Describe writes them, "" for none
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
  const char* timings = nullptr;  // KEYLOOM_TIMINGS for the machine; real timings when null
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// The check of a closed link names the port it judges.
std::string Describe(const Actions& actions, const TimedMachine& machine) {
  static const char* const kNames[] = {"start",     "stop",   "show",          "step",         "close",
                                       "disable",   "enable", "search",        "handshake",    "card",
                                       "recheck",   "check-closed", "port-under-wait", "gone", "next-card"};
  std::string text;
  for (const Action& action : actions) {
    if (!text.empty()) text += ", ";
    text += kNames[action.kind];
    switch (action.kind) {
      case kActionStartTimer:
      case kActionShowWaitWindow:
        text += " " + std::to_string(action.timer) + " " + std::to_string(action.value);
        break;
      case kActionStopTimer:
        text += " " + std::to_string(action.timer);
        break;
      case kActionRunCardTick:
      case kActionRecheckOpenPort:
        text += " " + std::to_string(action.value);
        break;
      case kActionCheckClosedLink:
        if (!machine.changedPort.empty()) text += " " + machine.changedPort;
        break;
      default:
        break;
    }
  }
  return text;
}

// Windows of the program open over the main window (the keys list, the port list dropped down): the
// main loop asks for them and tells the machine at each idle turn.
struct Windows {
  int open = 0;
};

Actions Apply(TimedMachine& machine, Windows& windows, const std::string& verb, const std::string& argument) {
  const int number = argument.empty() || argument[0] < '0' || argument[0] > '9' ? 0 : std::stoi(argument);
  if (verb == "open") return OpenWait(machine, number);
  if (verb == "tick") return OnTick(machine, number, true);
  if (verb == "modal-tick") return OnTick(machine, number, false);
  if (verb == "device") return OnDeviceChange(machine, true, argument);
  if (verb == "other-device") return OnDeviceChange(machine, false, argument);
  if (verb == "idle") return OnMainLoopIdle(machine, argument == "port-open", windows.open > 0);
  if (verb == "end-wait") return EndWait(machine);
  if (verb == "stop-all") return StopAll(machine);
  if (verb == "port-gone") return OnPortGoneUnderWait(machine);
  if (verb == "check-done") return OnCheckDone(machine, argument == "open");
  if (verb == "card-end") {
    if (argument == "goes") return OnCardTickEnded(machine, kCardWaitGoesOn, false);
    if (argument == "cut-short") return OnCardTickEnded(machine, kCardWaitCutShort, false);
    return OnCardTickEnded(machine, kCardWaitEnded, argument == "next");
  }
  if (verb == "window-opened") ++windows.open;
  if (verb == "window-closed" && windows.open > 0) --windows.open;
  return {};
}

void Replay(const Scenario& scenario) {
  TimedMachine machine;
  Windows windows;
  if (scenario.timings != nullptr) machine.timings = ParseTimings(scenario.timings);
  int index = 0;
  for (const Step& step : scenario.steps) {
    std::istringstream words(step.event);
    std::string verb;
    std::string argument;
    std::string repeat;
    words >> verb >> argument >> repeat;
    if (!argument.empty() && argument[0] == 'x') {
      repeat = argument;
      argument.clear();
    }
    const int times = repeat.empty() ? 1 : std::stoi(repeat.substr(1));
    for (int i = 0; i < times; ++i) {
      const Actions actions = Apply(machine, windows, verb, argument);
      ASSERT_EQ(Describe(actions, machine), step.actions)
          << scenario.name << ", step " << index << " \"" << step.event << "\", time " << i + 1;
    }
    ++index;
  }
}

const char kSearchEnd[] = "step, stop 1, close, enable, search";
const char kHandshakeEnd[] = "step, stop 2, close, handshake, enable";

const Scenario kWaits[] = {
    {"search delay: 100 ticks of 10 ms, then the search",
     {{"open 1", "show 1 100, disable, start 1 10"}, {"tick 1 x99", "step"}, {"tick 1", kSearchEnd},
      {"tick 1", ""}}},
    {"handshake wait: 2 ticks of 500 ms, then the reply is read before the window is given back",
     {{"open 2", "show 2 2, disable, start 2 500"}, {"tick 2", "step"}, {"tick 2", kHandshakeEnd}}},
    {"card wait: each tick runs the card tick with its number until the wait is ended",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"card-end goes", ""},
      {"tick 4", "step, card 2"},
      {"end-wait", "stop 4, close"},
      {"card-end ended", "enable"},
      {"tick 4", ""},
      {"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"}}},
    {"a cyclic run: the pause after a card that succeeded, over the disabled window, then the next card",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"card-end next", "start 5 1000"},
      {"modal-tick 5", ""},
      {"idle port-open", ""},
      {"tick 5", "stop 5, enable, next-card"},
      {"tick 5", ""},
      {"open 4", "show 4 165, disable, start 4 50"}}},
    {"card wait cut short (no acknowledgement, or the line failed): no cyclic step",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"card-end cut-short", "enable"}}},
    {"one wait at a time, and the one that runs goes on",
     {{"open 1", "show 1 100, disable, start 1 10"},
      {"open 1", ""},
      {"open 2", ""},
      {"open 4", ""},
      {"tick 2", ""},
      {"tick 4", ""},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"open 2", "show 2 2, disable, start 2 500"}}},
    {"the debounce and unknown ids open no wait", {{"open 3", ""}, {"open 5", ""}, {"open 0", ""}, {"tick 5", ""}}},
    {"ticks a modal loop dispatches are dropped and not counted",
     {{"open 1", "show 1 100, disable, start 1 10"},
      {"modal-tick 1 x300", ""},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"open 2", "show 2 2, disable, start 2 500"},
      {"modal-tick 2 x5", ""},
      {"tick 2", "step"},
      {"tick 2", kHandshakeEnd},
      {"open 4", "show 4 165, disable, start 4 50"},
      {"modal-tick 4 x5", ""},
      {"tick 4", "step, card 1"}}},
    {"the window going stops every timer and closes the wait",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"device", "start 3 2000"},
      {"stop-all", "stop 1, stop 2, stop 3, stop 4, stop 5, close"},
      {"tick 4", ""},
      {"tick 3", ""},
      {"idle", ""},
      {"stop-all", "stop 1, stop 2, stop 3, stop 4, stop 5"}}},
    {"shortened timings",
     {{"open 1", "show 1 100, disable, start 1 1"},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"open 2", "show 2 2, disable, start 2 7"},
      {"end-wait", "stop 2, close"},
      {"open 4", "show 4 165, disable, start 4 10"},
      {"device", "start 3 100"},
      {"end-wait", "stop 4, close"},
      {"tick 3", "stop 3"},
      {"idle port-open", "recheck 50"}},
     "debounce=100,searchtick=1 handshaketick=7,reopen=50,cardtick=10"},
};

const Scenario kHotplug[] = {
    {"reader plugged in while idle: one check after the debounce, between messages",
     {{"idle", ""}, {"device", "start 3 2000"}, {"idle", ""}, {"tick 3", "stop 3"}, {"idle", "check-closed"}, {"idle", ""}}},
    {"unplugged during connected idle: the open port is re-checked after the pause",
     {{"device", "start 3 2000"}, {"tick 3", "stop 3"}, {"idle port-open", "recheck 1000"}, {"idle port-open", ""}}},
    {"a burst of changes gives one check",
     {{"device", "start 3 2000"}, {"device x10", ""}, {"tick 3", "stop 3"}, {"device", "start 3 2000"},
      {"tick 3", "stop 3"}, {"tick 3", ""}, {"idle", "check-closed"}, {"idle", ""}}},
    {"other device events start nothing", {{"other-device x3", ""}, {"tick 3", ""}, {"idle", ""}}},
    {"inside the search delay: held until the search is over and its handshake wait too",
     {{"open 1", "show 1 100, disable, start 1 10"},
      {"tick 1 x40", "step"},
      {"device", "start 3 2000"},
      {"tick 1 x30", "step"},
      {"tick 3", "stop 3"},
      {"idle", ""},
      {"tick 1 x29", "step"},
      {"tick 1", kSearchEnd},
      {"open 2", "show 2 2, disable, start 2 500"},
      {"idle port-open", "port-under-wait"},
      {"tick 2", "step"},
      {"tick 2", kHandshakeEnd},
      {"idle port-open", "recheck 1000"}}},
    {"inside the handshake wait",
     {{"open 2", "show 2 2, disable, start 2 500"},
      {"device", "start 3 2000"},
      {"tick 2", "step"},
      {"modal-tick 3", "stop 3"},
      {"idle port-open", "port-under-wait"},
      {"tick 2", kHandshakeEnd},
      {"idle", "check-closed"}}},
    {"inside the card wait, the debounce ending there too",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"card-end goes", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", "port-under-wait"},
      {"tick 4", "step, card 2"},
      {"end-wait", "stop 4, close"},
      {"card-end ended", "enable"},
      {"open 4", "show 4 165, disable, start 4 50"},
      {"idle port-open", ""},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"card-end cut-short", "enable"},
      {"idle port-open", "recheck 1000"}}},
    {"the debounce ending under the card wait's final report box (a step's message box)",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"device", "start 3 2000"},
      {"modal-tick 4", ""},
      {"modal-tick 3", "stop 3"},
      {"card-end ended", "enable"},
      {"idle port-open", "recheck 1000"}}},
    {"a device change under the search's report box, the handshake wait opened after it",
     {{"open 1", "show 1 100, disable, start 1 10"},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"device", "start 3 2000"},
      {"modal-tick 3", "stop 3"},
      {"open 2", "show 2 2, disable, start 2 500"},
      {"idle port-open", "port-under-wait"},
      {"tick 2", "step"},
      {"tick 2", kHandshakeEnd},
      {"idle port-open", "recheck 1000"}}},
    {"the keys window: held while it is open",
     {{"window-opened", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", ""},
      {"window-closed", ""},
      {"idle port-open", "recheck 1000"}}},
    {"the keys window with a box over it, closed before the debounce ends",
     {{"window-opened", ""},
      {"device", "start 3 2000"},
      {"window-closed", ""},
      {"idle", ""},
      {"modal-tick 3", "stop 3"},
      {"idle", "check-closed"}}},
    {"the keys list and the port list drop-down at once: held until neither is open",
     {{"window-opened x2", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"window-closed", ""},
      {"idle", ""},
      {"window-closed", ""},
      {"idle", "check-closed"},
      {"window-closed", ""},
      {"window-opened", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", ""}}},
    {"About or Help box: the whole debounce inside its loop",
     {{"device", "start 3 2000"}, {"modal-tick 3", "stop 3"}, {"idle", "check-closed"}}},
    {"the port list drop-down (open only with no port open): held until it closes",
     {{"device", "start 3 2000"},
      {"window-opened", ""},
      {"tick 3", "stop 3"},
      {"idle", ""},
      {"window-closed", ""},
      {"idle", "check-closed"}}},
    {"pulled out during the card wait: once the debounce is over, the wait ends if the port has left",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"card-end goes", ""},
      {"device COM5", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", "port-under-wait"},
      {"idle port-open", ""},
      {"port-gone", "stop 4, close, gone, enable"},
      {"idle", ""},
      {"tick 4", ""}}},
    {"another device during the card wait: the port is still listed, the check waits for the wait",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"device COM5", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", "port-under-wait"},
      {"tick 4", "step, card 1"},
      {"idle port-open", ""},
      {"device COM5", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", "port-under-wait"},
      {"end-wait", "stop 4, close"},
      {"card-end ended", "enable"},
      {"idle port-open", "recheck 1000"}}},
    {"a link reset under the wait since the change: the check judges the port open at the change",
     {{"open 2", "show 2 2, disable, start 2 500"},
      {"device COM5", "start 3 2000"},
      {"tick 2", "step"},
      {"tick 2", kHandshakeEnd},
      {"tick 3", "stop 3"},
      {"idle", "check-closed COM5"},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", "check-closed"}}},
    {"a burst judges the port of its first change; a change while a check is due keeps its port",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"device COM5", "start 3 2000"},
      {"device", ""},
      {"tick 3", "stop 3"},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"end-wait", "stop 4, close"},
      {"card-end cut-short", "enable"},
      {"idle", "check-closed COM5"}}},
    {"a change in the pause between cyclic cards: the next card waits for the check and goes once the port is back",
     {{"card-end next", "start 5 1000"},
      {"device COM5", "start 3 2000"},
      {"tick 5", "stop 5"},
      {"idle port-open", ""},
      {"tick 5", ""},
      {"tick 3", "stop 3"},
      {"idle port-open", "recheck 1000"},
      {"check-done open", "enable, next-card"},
      {"check-done open", ""}}},
    {"... and no card goes when the check lost the link",
     {{"card-end next", "start 5 1000"},
      {"device COM5", "start 3 2000"},
      {"tick 5", "stop 5"},
      {"tick 3", "stop 3"},
      {"idle port-open", "recheck 1000"},
      {"check-done closed", "enable"}}},
    {"the check inside the pause: a lost link ends the run there, a kept one lets the pause run on",
     {{"card-end next", "start 5 1000"},
      {"device COM5", "start 3 200"},
      {"tick 3", "stop 3"},
      {"idle port-open", "recheck 1000"},
      {"check-done open", ""},
      {"tick 5", "stop 5, enable, next-card"},
      {"card-end next", "start 5 1000"},
      {"device COM5", "start 3 200"},
      {"tick 3", "stop 3"},
      {"idle port-open", "recheck 1000"},
      {"check-done closed", "stop 5, enable"},
      {"tick 5", ""}},
     "debounce=200"},
    {"a menu: the change inside, the debounce ending after it closed",
     {{"device", "start 3 2000"}, {"device", ""}, {"idle", ""}, {"tick 3", "stop 3"}, {"idle", "check-closed"}}},
    {"the check opens the search delay; a change during it waits for it",
     {{"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", "check-closed"},
      {"open 1", "show 1 100, disable, start 1 10"},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", ""},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"idle", "check-closed"}}},
};

class TimedMachineTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(TimedMachineTest, GivesTheActionsOfEachEvent) { Replay(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Waits, TimedMachineTest, ::testing::ValuesIn(kWaits));
INSTANTIATE_TEST_SUITE_P(Hotplug, TimedMachineTest, ::testing::ValuesIn(kHotplug));

}  // namespace
