// The plan of each reply: its reports in order, the link reset and the
// hand-picked port given up, for the reader's own port and for a port picked by hand, and for a
// read that failed or a port that has left the system.
#include "protocol/replies.h"

#include <gtest/gtest.h>

#include <string>

#include "link/reader_ports.h"

namespace {

struct PlanCase {
  int length;  // kLineFailed: the read failed
  ReplyCode code;
  bool byHand;
  ReplyCode planned;
  const char* steps;
  bool portGone = false;  // the system no longer lists the port
};

const PlanCase kPlans[] = {
    {0, kReplyNothing, false, kReplyNothing, "reset"},
    {0, kReplyNothing, true, kReplyNothing, "no-response enable-list reset"},
    {kLineFailed, kReplyNothing, false, kReplyNothing, "read-error reset"},
    {kLineFailed, kReplyNothing, true, kReplyNothing, "read-error no-response enable-list reset"},
    // The reader pulled out: one box says so, whatever the port, instead of a code or a retry hint.
    {0, kReplyNothing, false, kReplyNothing, "connection-broken", true},
    {0, kReplyNothing, true, kReplyNothing, "connection-broken", true},
    {kLineFailed, kReplyNothing, true, kReplyNothing, "connection-broken", true},
    {6, kReplyAcknowledged, true, kReplyAcknowledged, "", true},
    {20, kReplyHandshake, false, kReplyHandshake, "settings-read firmware"},
    {20, kReplyHandshake, true, kReplyHandshake, "settings-read firmware"},
    {6, kReplyAcknowledged, false, kReplyAcknowledged, ""},
    {6, kReplyAcknowledged, true, kReplyAcknowledged, ""},
    {21, kReplyUnknownCommand, false, kReplyUnknownCommand, "invalid-command"},
    {21, kReplyUnknownCommand, true, kReplyUnknownCommand, "invalid-command reset no-response enable-list"},
    {10, kReplyNothing, false, kReplyNothing, "not-recognized"},
    {10, kReplyNothing, true, kReplyNothing, "not-recognized reset no-response enable-list"},
};

std::string Describe(const ReplyPlan& plan) {
  static const char* const kNames[] = {"",          "settings-read", "firmware", "connection-broken", "read-error",
                                       "invalid-command", "not-recognized", "no-response", "enable-list",
                                       "reset"};
  std::string text;
  for (ReplyStep step : plan.steps) {
    if (step == kReplyStepDone) break;
    if (!text.empty()) text += " ";
    text += kNames[step];
  }
  return text;
}

TEST(ReplyReportPlanTest, EachReplyHasItsReportsInOrder) {
  for (const PlanCase& c : kPlans) {
    const ReplyPlan plan = PlanReplyReport(c.length, c.code, c.byHand, c.portGone);
    EXPECT_EQ(plan.code, c.planned) << c.length << " " << c.code << " " << c.byHand;
    EXPECT_EQ(Describe(plan), c.steps) << c.length << " " << c.code << " " << c.byHand;
  }
}

// A reply judged whole: the code of its markers, and a card reply only where there is none.
TEST(ReplyReportPlanTest, AJudgedReplyIsACardsOrItsMarkers) {
  const struct {
    std::string bytes;
    ReplyCode code;
    CardReplyKind card;
  } kCases[] = {
      {"\rAT+DAT_OK\r\n", kReplyNothing, kCardReplyDone},
      {"\rAT+ERR_04\r\n", kReplyNothing, kCardReplyNoCard},
      {"\rAT+XYZ\r\n", kReplyNothing, kCardReplyNotRecognized},
      // The markers come first: a card reply behind an acknowledgement is not judged with it.
      {"AT+Uw - OK!\rAT+DAT_OK", kReplyAcknowledged, kCardReplyNotRecognized},
      {"AT+Uw - UNKNOWN CMD!", kReplyUnknownCommand, kCardReplyNotRecognized},
      {"", kReplyNothing, kCardReplyNotRecognized},
  };
  for (const auto& c : kCases) {
    std::string bytes = c.bytes + '\0';
    const ReplyVerdict verdict = JudgeReply(bytes.data(), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(verdict.code, c.code) << c.bytes;
    EXPECT_EQ(verdict.card.kind, c.card) << c.bytes;
  }
}

}  // namespace
