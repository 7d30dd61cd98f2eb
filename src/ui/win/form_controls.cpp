// The program-wide handles of the form's controls, filled once when the form is built.
// They live as long as the main window.
#include "ui/win/form_controls.h"

HWND g_formControls[kFormControlCount] = {};

void FillComboBox(HWND combo, const UiTextEntry* items, int count, int selection) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText.*items[i]));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}
