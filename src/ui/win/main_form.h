// The main form, the one owner of its controls: built once at start-up, switched between its views,
// read as one plain record of settings and given records, new values, the port list and the version.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/form_state.h"

inline constexpr char kMainWindowClass[] = "my Window";
inline constexpr int kMainWindowWidth = 665;
inline constexpr int kMainWindowHeight = 670;
// The program's icon among its resources.
inline constexpr int kProgramIcon = 2;

// The program's module and its main window, which owns every box and WaitWindow; set at start.
extern HINSTANCE g_instance;
extern HWND g_mainWindow;

// Attaches the menu bar and creates the controls the first view shows, with their initial
// contents, in that view: all the window needs before it is first shown.
void BuildMainForm();
// Creates the controls the first view hides, hidden, with their initial contents, and fills the
// converter; called once the main window is shown, before any message is handled.
void CompleteMainForm();
// Gives the main window and every captioned control its text in the active language.
void RelabelForm();

// WM_NOTIFY of the main window: keeps FormState's sector and block numbers in step with the
// up-downs; other notifications are left alone.
void OnUpDownDelta(WPARAM id, LPARAM notification);
// WM_COMMAND of the card type and work mode lists; acts on CBN_SELCHANGE only.
void OnViewComboCommand(WPARAM wParam);
// "Generate unique data before write": the box is not automatic, so the command checks or unchecks
// it, then locks or frees the data field, "Generate unique", the converter and "Write cyclically".
void OnGenerateBeforeWriteCommand();
// The converter's two format radios.
void OnConverterFormatCommand(int radioId);

// The form's settings as its controls show them now.
FormSettings ReadFormSettings();
// Puts a record on the form: the reader settings, then the work mode with its view (whose field
// reset comes first), then sector, block, and key or data.
void ShowFormRecord(const FormRecord& record);
// A new key or new sector data into FormState and its field; new data also into the converter.
void ShowSystemKey(const uint8_t key[6]);
void ShowSectorData(const uint8_t data[7]);
// The converter's three fields from FormState's sector data and converter format.
void ShowCardNumber();

// Enables the port list and shows the ports in the order given, the first one selected; with none,
// one empty entry.
void ShowPortList(const std::vector<std::string>& ports);
// Selects the entry at `index` of the list.
void SelectListedPort(int index);
// The entry the user picked; empty when there is none.
std::string ChosenPort();
void EnablePortList(bool enabled);
// Whether the port list's drop-down is open: the list is the user's then, and nothing refills it.
bool PortListDroppedDown();
// The reader's firmware version, "x.xx" while it is not known.
void ShowVersion(const char* version);
