// The form's generators as the buttons and the user write call them: seeded from the local time,
// working on usersData.data in the working directory, and reporting file trouble to the user.
#pragma once

#include <cstdint>

// A pseudo-random system key.
void GenerateRandomKey(uint8_t key[6]);

// Sector data whose code is not yet in usersData.data, recorded there. When the file is missing,
// locked or unreadable, the user is told and `data` still receives new data, unchecked (true).
// False when no new code could be found or the new one could not be appended: the user is told
// and `data` is left unchanged, so nothing must be written with it.
bool GenerateUniqueSectorData(uint8_t data[7]);

// 1 when the code of `data` is already recorded, 0 otherwise (after appending it), and 0 after
// a file error, which has been reported.
int RecordSectorData(const uint8_t data[7]);
