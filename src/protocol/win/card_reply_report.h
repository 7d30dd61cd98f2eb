// The reader's final answer to a card command as the user sees it: its message, the success a
// cyclic run waits for, and a block read from a card put back onto the form.
#pragma once

// Kept out of this header: the reply reader includes it next to the form's own radio tables.
struct CardBlockValues;

// A reply without handshake markers; false when it is not a card reply (nothing shown then).
bool HandleCardReply(const char* reply, int length);
// Sets the radios, work mode and view, sector, block and key or data from a card block.
void ApplyCardBlock(const CardBlockValues& block);
