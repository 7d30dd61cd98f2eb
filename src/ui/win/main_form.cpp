// Builds the main form once, between the creation of the main window and its first showing.
// The menu bar comes first; the controls follow it.
#include "ui/win/main_form.h"

#include "ui/win/menu_bar.h"

void BuildMainForm() {
  BuildMenuBar();
}
