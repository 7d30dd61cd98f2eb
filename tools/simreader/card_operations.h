// What the simulated reader does to a card for each 27-byte card command, and the text of its
// final reply (without the leading byte that the real reader sends first).
#pragma once

#include <string>

#include "virtual_card.h"

inline constexpr size_t kCardFrameBytes = 27;

// True for "AT+" followed by M or U and w, r or c; `bytes` may be shorter than a frame.
bool StartsCardFrame(const std::string& bytes, size_t at);
// Carries out the command on the card (saving it when it changed) and returns the final reply:
// "\rAT+DAT_OK", "\rAT+ms" with the serial number and the block, "\rAT+ERR_05" when the card
// refuses (wrong key, bad block) or "\rAT+ERR_06" for a card that is not a Classic 1K.
std::string RunCardCommand(VirtualCard* card, const std::string& frame);
// CRC-8/MAXIM, as the reader checks the blocks.
uint8_t BlockCrc(const std::string& bytes, size_t count);
