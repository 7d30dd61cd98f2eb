// The sixteen digits of upper-case hexadecimal, as the program writes bytes everywhere it shows
// or stores them: the form's fields, the converter, usersData.data.
#pragma once

inline constexpr char kHexDigits[] = "0123456789ABCDEF";
