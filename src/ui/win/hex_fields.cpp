// The hex entry fields: on entry the spaces go, every typed character that is not a hex digit is
// removed at once, the last digit moves the focus away, and leaving the field commits the bytes.
#include "ui/win/hex_fields.h"

#include <windows.h>

#include <cstdio>

#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/win/main_form.h"

namespace {

// Whether the user is in a field: its own typing filter works only then.
bool g_keyEditActive = false;
bool g_dataEditActive = false;

// Where a field's value stands in FormState, how it is committed and what follows the commit.
struct HexFieldBinding {
  const HexFieldLayout& layout;
  const char* text;
  bool* active;
  void (*commit)(const char* typed);
  void (*afterCommit)();
};

HexFieldBinding BindingOf(int editId) {
  if (editId == kIdKeyEdit) {
    return {kKeyFieldLayout, g_form.systemKeyText, &g_keyEditActive, CommitFormSystemKey, nullptr};
  }
  return {kDataFieldLayout, g_form.sectorDataText, &g_dataEditActive, CommitFormSectorData, ShowCardNumber};
}

void OnEnter(HWND edit, const HexFieldBinding& field) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%s", field.text);
  StripSpaces(digits);
  SetWindowTextA(edit, digits);
  *field.active = true;
}

// Each removal sets the text again, whose change notification comes back here for the next one.
void OnChange(HWND edit, const HexFieldBinding& field) {
  if (!*field.active) return;
  char text[32] = {};
  const int length = GetWindowTextA(edit, text, sizeof text);
  if (length == 0) return;
  const int rejected = FirstRejectedPosition(text);
  if (rejected < 0) {
    if (length == field.layout.digitCount) SetFocus(g_mainWindow);
    return;
  }
  RemoveCharAt(text, rejected);
  SetWindowTextA(edit, text);
  SendMessageA(edit, EM_SETSEL, rejected, rejected);
}

void OnLeave(HWND edit, const HexFieldBinding& field) {
  *field.active = false;
  char typed[32] = {};
  GetWindowTextA(edit, typed, field.layout.digitCount + 1);
  field.commit(typed);
  if (field.afterCommit) field.afterCommit();
  SetWindowTextA(edit, field.text);
}

}  // namespace

void OnHexFieldCommand(int editId, int notification) {
  HWND edit = GetDlgItem(g_mainWindow, editId);
  const HexFieldBinding field = BindingOf(editId);
  switch (notification) {
    case EN_SETFOCUS:
      OnEnter(edit, field);
      break;
    case EN_CHANGE:
      OnChange(edit, field);
      break;
    case EN_KILLFOCUS:
      OnLeave(edit, field);
      break;
  }
}

void OnShowKeyCommand() {
  HWND keyEdit = GetDlgItem(g_mainWindow, kIdKeyEdit);
  const bool wasShown = IsDlgButtonChecked(g_mainWindow, kIdShowKey) == BST_CHECKED;
  CheckDlgButton(g_mainWindow, kIdShowKey, wasShown ? BST_UNCHECKED : BST_CHECKED);
  MaskKeyEdit(keyEdit, wasShown);
}

void MaskKeyEdit(HWND edit, bool masked) {
  SendMessageA(edit, EM_SETPASSWORDCHAR, masked ? '*' : 0, 0);
  InvalidateRect(edit, nullptr, FALSE);
}
