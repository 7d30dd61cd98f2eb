// The ports the system lists: every serial port of the registry's SERIALCOMM key, and the port of the
// present USB device that is the reader, found through the system's device set-up information.
#pragma once

#include <string>
#include <vector>

#include "link/reader_ports.h"

// The REG_SZ values of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM in the key's order. False when the key
// cannot be opened or holds no value.
bool ListSystemPorts(std::vector<std::string>* ports);

// True when a REG_SZ value under SERIALCOMM names the same port, in any letter case.
bool IsPortPresent(const std::string& name);

// True when a present USB device matches the identity and has a usable "PortName"; the name
// goes to portName. When several match, the last one enumerated gives the name. A device whose
// hardware key cannot be opened is passed over.
bool FindReaderPort(std::string* portName, const ReaderIdentity& identity);
