// Bytes as hexadecimal text and back, for the control port and the frame log.
// Lower-case pairs without separators; text that is not hexadecimal is refused.
#pragma once

#include <string>

std::string ToHex(const std::string& bytes);
// False when the text is not an even number of hexadecimal digits.
bool FromHex(const std::string& text, std::string* bytes);
