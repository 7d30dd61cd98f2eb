// Reports each card reply with its message, records a write or clear that succeeded, and decodes a
// block read from a card back onto the form; the card-type list itself is never changed.
#include "protocol/win/card_reply_report.h"

#include <windows.h>

#include <algorithm>

#include "protocol/card_replies.h"
#include "protocol/win/card_commands.h"
#include "protocol/win/card_journal_file.h"
#include "protocol/win/card_reply_text.h"
#include "ui/win/main_form.h"
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
  FormRecord form;
  if (block.isMaster) std::copy(block.radio, block.radio + kSettingGroupCount, form.radio);
  form.workMode = block.workMode;
  form.sector = block.sectorNumber;
  form.block = block.blockNumber;
  form.hasKey = block.isMaster;
  std::copy(block.systemKey, block.systemKey + 6, form.key);
  form.hasData = !block.isMaster;
  std::copy(block.sectorData, block.sectorData + 7, form.data);
  ShowFormRecord(form);
}
