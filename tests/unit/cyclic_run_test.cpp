// The cyclic run over sequences of presses and card outcomes: it goes on while each card succeeds,
// stops at the first failure, and every press starts a run of its own kind.
#include "app/timed_machine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Events: "single", "write", "clear" (presses), "ok" (a card succeeded; gives "quiet" inside a
// cyclic run, "report" otherwise) and "step" (a wait judged its final reply; gives "write",
// "clear" or "stop"). Each event is followed by what it gives, if anything.
struct RunCase {
  const char* name;
  const char* sequence;
};

const RunCase kRuns[] = {
    {"a single press reports and has no next card", "single ok report step stop step stop"},
    {"write cyclically goes on while cards succeed and stops at the first failure",
     "write ok quiet step write ok quiet step write step stop step stop ok report step stop"},
    {"clear cyclically the same way", "clear ok quiet step clear step stop ok report"},
    {"a cyclic run that never reached a wait's end does not make a later press cyclic",
     "write single ok report step stop"},
    {"an earlier success does not carry a new cyclic run past a failing first card",
     "single ok report write step stop"},
    {"a press during a cyclic run starts a run of its own kind",
     "write ok quiet clear ok quiet step clear ok quiet single step stop"},
    {"a success before a new press is forgotten", "clear ok quiet write step stop"},
};

TEST(CyclicRunTest, GivesTheNextStepOfEachSequence) {
  for (const RunCase& c : kRuns) {
    CyclicRun run;
    std::istringstream words(c.sequence);
    std::string word;
    std::string given;
    std::string expected;
    for (int position = 0; words >> word; ++position) {
      if (word == "single") StartRun(run, kRunSingle);
      if (word == "write") StartRun(run, kRunWriteCyclically);
      if (word == "clear") StartRun(run, kRunClearCyclically);
      if (word == "ok") {
        words >> expected;
        EXPECT_EQ(RecordSuccess(run) ? "quiet" : "report", expected) << c.name << " at " << position;
      }
      if (word == "step") {
        words >> expected;
        const char* const kSteps[] = {"stop", "write", "clear"};
        EXPECT_EQ(kSteps[NextCyclicStep(run)], expected) << c.name << " at " << position;
      }
    }
  }
}

}  // namespace
