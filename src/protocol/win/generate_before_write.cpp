// Command 24: the box is not automatic, so the command checks or unchecks it itself; the controls
// that follow it are set by the same rule the user card data view applies.
#include "protocol/win/generate_before_write.h"

#include <windows.h>

#include "ui/control_ids.h"
#include "ui/win/app_window.h"
#include "ui/win/form_view_switch.h"

void OnGenerateBeforeWriteCommand() {
  const bool wasChecked = IsDlgButtonChecked(g_mainWindow, kIdGenerateBeforeWrite) == BST_CHECKED;
  CheckDlgButton(g_mainWindow, kIdGenerateBeforeWrite, wasChecked ? BST_UNCHECKED : BST_CHECKED);
  ApplyGenerateBeforeWriteRule();
}
