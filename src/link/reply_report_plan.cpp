// The reply plans. No reply from a port the system no longer lists is a reader pulled out; a failed
// read is shown with its code; silence resets the link; a hand-picked port that gives silence, an
// unknown command or an unrecognised answer is closed with the retry hint, a found reader's port is kept.
#include "link/reply_report_plan.h"

#include "link/reply_line.h"

ReplyPlan PlanReplyReport(int length, ReplyCode code, bool portChosenByHand, bool portGone) {
  if (length <= 0 && portGone) return {kReplyNothing, {kReplyStepReportConnectionBroken}};
  if (length == kLineFailed) {
    if (portChosenByHand) {
      return {kReplyNothing, {kReplyStepReportReadError, kReplyStepReportNoResponse, kReplyStepEnablePortList,
                              kReplyStepResetLink}};
    }
    return {kReplyNothing, {kReplyStepReportReadError, kReplyStepResetLink}};
  }
  if (length == 0) {
    if (portChosenByHand) {
      return {kReplyNothing, {kReplyStepReportNoResponse, kReplyStepEnablePortList, kReplyStepResetLink}};
    }
    return {kReplyNothing, {kReplyStepResetLink}};
  }
  switch (code) {
    case kReplyHandshake:
      return {code, {kReplyStepReportSettingsRead, kReplyStepCheckFirmware}};
    case kReplyAcknowledged:
      return {code, {}};
    case kReplyUnknownCommand:
      if (portChosenByHand) {
        return {code, {kReplyStepReportInvalidCommand, kReplyStepResetLink, kReplyStepReportNoResponse,
                       kReplyStepEnablePortList}};
      }
      return {code, {kReplyStepReportInvalidCommand}};
    case kReplyNothing:
      break;
  }
  if (portChosenByHand) {
    return {code, {kReplyStepCardReply, kReplyStepReportNotRecognized, kReplyStepResetLink,
                   kReplyStepReportNoResponse, kReplyStepEnablePortList}};
  }
  return {code, {kReplyStepCardReply, kReplyStepReportNotRecognized}};
}
