// The text of a card reply's message in the active language, for the box that reports it.
#pragma once

#include "protocol/card_replies.h"

// Null for kCardMessageNone.
const char* CardReplyText(CardReplyMessage message);
