// The port list of the form (combo box 6): filled from the system's serial ports, sorted by
// number, a port selected in it, and the question whether a port is still listed by the system.
#pragma once

#include <windows.h>

// The combo box of the main form.
HWND PortList();

// Fills the list with the REG_SZ values of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM and selects the
// first entry. False (the list untouched) without the key; false (the list empty) without values.
bool FillPortList(HWND list);

// Keeps the first 50 entries, sorted by number, written as "COM" + number; selects the first.
void SortPortList(HWND list);

// Selects the first entry that names the same port (in any letter case) and stores its position;
// nothing changes otherwise.
void SelectPortInList(HWND list, const char* name, int* index);

// Enables the list and refills it; with no port it holds one empty entry, selected.
void RefreshPortList();

// True when a REG_SZ value under SERIALCOMM names the same port, in any letter case.
bool IsPortPresent(const char* name);
