// The form as a card command sees it: the card type, work mode and setting radios read from
// their controls, the numbers, key and data taken from FormState.
#pragma once

#include "protocol/card_settings.h"

CardSnapshot ReadCardSnapshot();
