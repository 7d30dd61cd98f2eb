// The form's generators as the buttons and the user write call them: seeded from the local time,
// working on usersData.data in the working directory, and reporting file trouble to the user.
#pragma once

#include <cstdint>

// A pseudo-random system key.
void GenerateRandomKey(uint8_t key[6]);

// Sector data whose code is not yet in usersData.data, recorded there. False when the file is
// missing, locked, read-only or unreadable, when no new code could be found or the new one could
// not be appended: the user is told and `data` is left unchanged, so nothing must be written.
bool GenerateUniqueSectorData(uint8_t data[7]);
