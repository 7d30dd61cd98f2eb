// The check box "Generate unique data before write" (command 24): typing sector data and
// writing user cards cyclically exclude each other.
#pragma once

// Toggles the box, then locks or frees the data field, "Generate unique", the converter and
// "Write cyclically" to match.
void OnGenerateBeforeWriteCommand();
