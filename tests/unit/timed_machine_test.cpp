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
// "device" (device nodes changed), "other-device", "idle", "idle port-open", "window-opened",
// "window-closed", "end-wait", "card-end goes|unacknowledged|ended", "stop-all"; " xN" repeats it,
// each time with the same actions.
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

std::string Describe(const Actions& actions) {
  static const char* const kNames[] = {"start", "stop", "show", "step", "close", "disable", "enable",
                                       "search", "handshake", "card", "recheck", "look", "cyclic"};
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
      default:
        break;
    }
  }
  return text;
}

Actions Apply(TimedMachine& machine, const std::string& verb, const std::string& argument) {
  const int number = argument.empty() || argument[0] < '0' || argument[0] > '9' ? 0 : std::stoi(argument);
  if (verb == "open") return OpenWait(machine, number);
  if (verb == "tick") return OnTick(machine, number, true);
  if (verb == "modal-tick") return OnTick(machine, number, false);
  if (verb == "device") return OnDeviceChange(machine, true);
  if (verb == "other-device") return OnDeviceChange(machine, false);
  if (verb == "idle") return OnMainLoopIdle(machine, argument == "port-open");
  if (verb == "end-wait") return EndWait(machine);
  if (verb == "stop-all") return StopAll(machine);
  if (verb == "card-end") {
    if (argument == "goes") return OnCardTickEnded(machine, kCardWaitGoesOn);
    if (argument == "unacknowledged") return OnCardTickEnded(machine, kCardWaitEndedUnacknowledged);
    return OnCardTickEnded(machine, kCardWaitEnded);
  }
  if (verb == "window-opened") OnWindowOpened(machine);
  if (verb == "window-closed") OnWindowClosed(machine);
  return {};
}

void Replay(const Scenario& scenario) {
  TimedMachine machine;
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
      ASSERT_EQ(Describe(Apply(machine, verb, argument)), step.actions)
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
      {"card-end ended", "enable, cyclic"},
      {"tick 4", ""},
      {"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"}}},
    {"card wait without acknowledgement: no cyclic step",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"card-end unacknowledged", "enable"}}},
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
      {"stop-all", "stop 1, stop 2, stop 3, stop 4, close"},
      {"tick 4", ""},
      {"tick 3", ""},
      {"idle", ""},
      {"stop-all", "stop 1, stop 2, stop 3, stop 4"}}},
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
     {{"idle", ""}, {"device", "start 3 2000"}, {"idle", ""}, {"tick 3", "stop 3"}, {"idle", "look"}, {"idle", ""}}},
    {"unplugged during connected idle: the open port is re-checked after the pause",
     {{"device", "start 3 2000"}, {"tick 3", "stop 3"}, {"idle port-open", "recheck 1000"}, {"idle port-open", ""}}},
    {"a burst of changes gives one check",
     {{"device", "start 3 2000"}, {"device x10", ""}, {"tick 3", "stop 3"}, {"device", "start 3 2000"},
      {"tick 3", "stop 3"}, {"tick 3", ""}, {"idle", "look"}, {"idle", ""}}},
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
      {"idle port-open", ""},
      {"tick 2", "step"},
      {"tick 2", kHandshakeEnd},
      {"idle port-open", "recheck 1000"}}},
    {"inside the handshake wait",
     {{"open 2", "show 2 2, disable, start 2 500"},
      {"device", "start 3 2000"},
      {"tick 2", "step"},
      {"modal-tick 3", "stop 3"},
      {"idle port-open", ""},
      {"tick 2", kHandshakeEnd},
      {"idle", "look"}}},
    {"inside the card wait, the debounce ending there too",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"card-end goes", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle port-open", ""},
      {"tick 4", "step, card 2"},
      {"end-wait", "stop 4, close"},
      {"card-end ended", "enable, cyclic"},
      {"open 4", "show 4 165, disable, start 4 50"},
      {"idle port-open", ""},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"card-end unacknowledged", "enable"},
      {"idle port-open", "recheck 1000"}}},
    {"the debounce ending under the card wait's final report box (a step's message box)",
     {{"open 4", "show 4 165, disable, start 4 50"},
      {"tick 4", "step, card 1"},
      {"end-wait", "stop 4, close"},
      {"device", "start 3 2000"},
      {"modal-tick 4", ""},
      {"modal-tick 3", "stop 3"},
      {"card-end ended", "enable, cyclic"},
      {"idle port-open", "recheck 1000"}}},
    {"a device change under the search's report box, the handshake wait opened after it",
     {{"open 1", "show 1 100, disable, start 1 10"},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"device", "start 3 2000"},
      {"modal-tick 3", "stop 3"},
      {"open 2", "show 2 2, disable, start 2 500"},
      {"idle port-open", ""},
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
      {"idle", "look"}}},
    {"two windows over the main window: held until both are closed",
     {{"window-opened x2", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"window-closed", ""},
      {"idle", ""},
      {"window-closed", ""},
      {"idle", "look"},
      {"window-closed", ""},
      {"window-opened", ""},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", ""}}},
    {"About or Help box: the whole debounce inside its loop",
     {{"device", "start 3 2000"}, {"modal-tick 3", "stop 3"}, {"idle", "look"}}},
    {"the port list drop-down: the change before it opens, the debounce ending inside",
     {{"device", "start 3 2000"}, {"idle", ""}, {"modal-tick 3", "stop 3"}, {"idle port-open", "recheck 1000"}}},
    {"a menu: the change inside, the debounce ending after it closed",
     {{"device", "start 3 2000"}, {"device", ""}, {"idle", ""}, {"tick 3", "stop 3"}, {"idle", "look"}}},
    {"the check opens the search delay; a change during it waits for it",
     {{"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", "look"},
      {"open 1", "show 1 100, disable, start 1 10"},
      {"device", "start 3 2000"},
      {"tick 3", "stop 3"},
      {"idle", ""},
      {"tick 1 x99", "step"},
      {"tick 1", kSearchEnd},
      {"idle", "look"}}},
};

class TimedMachineTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(TimedMachineTest, GivesTheActionsOfEachEvent) { Replay(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Waits, TimedMachineTest, ::testing::ValuesIn(kWaits));
INSTANTIATE_TEST_SUITE_P(Hotplug, TimedMachineTest, ::testing::ValuesIn(kHotplug));

}  // namespace
