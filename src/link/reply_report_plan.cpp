// The reply plans. Silence resets the link; a hand-picked port that gives silence, an unknown
// command or an unrecognised answer is closed with the retry hint, a found reader's port is kept.
#include "link/reply_report_plan.h"

ReplyPlan PlanReplyReport(int length, ReplyCode code, bool portChosenByHand) {
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
