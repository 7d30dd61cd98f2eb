// What a reply from the reader leads to, decided before anything is shown: which reports, in which
// order, whether the card-reply judge gets it, whether the link is reset and a hand-picked port given up.
#pragma once

#include "link/reply_classifier.h"

enum ReplyStep : int {
  kReplyStepDone = 0,
  kReplyStepReportSettingsRead,
  kReplyStepCheckFirmware,
  kReplyStepReportConnectionBroken,  // the reader was pulled out: the box, then the link reset
  kReplyStepReportReadError,         // the read's port call failed: its code shown
  kReplyStepReportInvalidCommand,
  kReplyStepReportNotRecognized,
  kReplyStepReportNoResponse,  // the retry hint of a hand-picked port
  kReplyStepEnablePortList,
  kReplyStepResetLink,
  // The card-reply judge is asked; when it takes the reply the plan ends there, acknowledged.
  kReplyStepCardReply,
};

inline constexpr int kMaxReplySteps = 6;

struct ReplyPlan {
  ReplyCode code;
  ReplyStep steps[kMaxReplySteps];  // performed in order up to the first kReplyStepDone
};

// The plan for a reply of `length` bytes (0: nothing came; kLineFailed: the read failed) that
// ClassifyReply judged `code`. portGone: the system no longer lists the port, so a reply that did
// not come is the reader pulled out, not a silent reader or a broken line.
ReplyPlan PlanReplyReport(int length, ReplyCode code, bool portChosenByHand, bool portGone);
