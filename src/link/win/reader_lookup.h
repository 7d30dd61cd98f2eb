// The lookup of the reader's own serial port through the system's device set-up information:
// the present USB device whose hardware id is the reader's, and the "PortName" it carries.
#pragma once

#include <string>

#include "link/hardware_id.h"

// True when a present USB device matches the identity and has a usable "PortName"; the name
// goes to portName. When several match, the last one enumerated gives the name. A device whose
// hardware key cannot be opened is passed over.
bool FindReaderPort(std::string* portName, const ReaderIdentity& identity);
