// Looks up the caption table entry of each card reply message.
#include "protocol/win/card_reply_text.h"

#include "ui/ui_text.h"

namespace {

// By CardReplyMessage.
const char* UiTextTable::*const kReplyTexts[] = {
    nullptr,
    &UiTextTable::msgOperationSuccessful,
    &UiTextTable::msgMainBoardNoResponse,
    &UiTextTable::msgCardNotBrought,
    &UiTextTable::msgOperationFailed,
    &UiTextTable::msgCardTypeUnsupported,
};

}  // namespace

const char* CardReplyText(CardReplyMessage message) {
  const auto entry = kReplyTexts[message];
  return entry ? UiText.*entry : nullptr;
}
