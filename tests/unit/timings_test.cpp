// The shortened periods read from KEYLOOM_TIMINGS: what is taken, and what keeps the real value.
#include "app/timed_machine.h"

#include <gtest/gtest.h>

namespace {

struct TimingsCase {
  const char* text;
  Timings expected;  // debounce, search tick, handshake tick, reopen pause, card tick, cyclic pause
};

const TimingsCase kCases[] = {
    {nullptr, {2000, 10, 500, 1000, 50}},
    {"", {2000, 10, 500, 1000, 50}},
    {"debounce=100,searchtick=1,reopen=50,cardtick=10", {100, 1, 500, 50, 10}},
    {"handshaketick=20 debounce=300", {300, 10, 20, 1000, 50}},
    {" ,cardtick=5,, searchtick=2 ", {2000, 2, 500, 1000, 5}},
    {"cardtick=5,cardtick=7", {2000, 10, 500, 1000, 7}},
    {"unknown=5,Debounce=5,debounce", {2000, 10, 500, 1000, 50}},
    {"debounce=0,searchtick=-1,reopen=1e3,cardtick=", {2000, 10, 500, 1000, 50}},
    {"debounce=60001,reopen=99999999999999999999,cardtick=60000", {2000, 10, 500, 1000, 60000}},
    {"debounce = 100,searchtick=5ms,handshaketick=+9", {2000, 10, 500, 1000, 50}},
    {"cyclicpause=30000,cardtick=10,cyclicpause=", {2000, 10, 500, 1000, 10, 30000}},
};

TEST(TimingsTest, ShortenedPeriodsAreReadAndBadOnesKeepTheRealValue) {
  for (const TimingsCase& c : kCases) {
    const Timings t = ParseTimings(c.text);
    const char* text = c.text == nullptr ? "(none)" : c.text;
    EXPECT_EQ(t.debounceMs, c.expected.debounceMs) << text;
    EXPECT_EQ(t.searchTickMs, c.expected.searchTickMs) << text;
    EXPECT_EQ(t.handshakeTickMs, c.expected.handshakeTickMs) << text;
    EXPECT_EQ(t.reopenPauseMs, c.expected.reopenPauseMs) << text;
    EXPECT_EQ(t.cardTickMs, c.expected.cardTickMs) << text;
    EXPECT_EQ(t.cyclicPauseMs, c.expected.cyclicPauseMs) << text;
  }
}

}  // namespace
