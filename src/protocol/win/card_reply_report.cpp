// Reports each card reply with its message, records a write or clear that succeeded, and decodes a
// block read from a card back onto the form; the card-type list itself is never changed.
#include "protocol/win/card_reply_report.h"

#include <windows.h>

#include "protocol/card_replies.h"
#include "protocol/win/card_commands.h"
#include "protocol/win/card_journal_file.h"
#include "protocol/win/card_reply_text.h"
#include "protocol/win/card_snapshot_win.h"
#include "ui/win/app_window.h"
#include "ui/win/form_fields.h"
#include "ui/win/form_view_switch.h"
#include "ui/win/message_box.h"

bool HandleCardReply(const char* reply, int length) {
  const CardReply result =
      ClassifyCardReply(reinterpret_cast<const uint8_t*>(reply), static_cast<size_t>(length));
  if (result.kind == kCardReplyNotRecognized) return false;
  // A card written or cleared goes into the journal; inside a cyclic run its success is not
  // reported: the pause before the next card follows.
  const bool cardDone = result.setsLastOperationSucceeded;
  const JournalOutcome journal = cardDone ? JournalSentCard() : JournalOutcome{JournalStatus::kWritten, 0};
  if (!cardDone || !RecordCardSuccess()) {
    Report(CardReplyText(result.message), static_cast<MessageKind>(result.messageKind));
    if (result.kind == kCardReplyBlockRead) ApplyCardBlock(result.block);
  }
  ReportJournalTrouble(journal);
  return true;
}

void ApplyCardBlock(const CardBlockValues& block) {
  if (block.isMaster) {
    for (int group = 0; group < kSettingGroupCount; ++group) {
      if (block.radio[group] < 0) continue;
      const RadioGroup& buttons = kRadioGroups[kSettingRadioGroups[group]];
      CheckRadioButton(g_mainWindow, buttons.first, buttons.last, buttons.first + block.radio[group]);
    }
  }
  if (block.workMode >= 0) ShowWorkMode(block.workMode);
  ShowSectorNumber(block.sectorNumber);
  ShowBlockNumber(block.blockNumber);
  if (block.isMaster) {
    ShowSystemKey(block.systemKey);
    return;
  }
  ShowSectorData(block.sectorData);
}
