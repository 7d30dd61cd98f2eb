// The hooks of the windows that stay open over the main window: one set, given by the program
// at start; before that, opening and closing such a window does nothing more.
#include "ui/win/modal_windows.h"

namespace {

ModalWindowHooks g_hooks;

}  // namespace

void SetModalWindowHooks(const ModalWindowHooks& hooks) { g_hooks = hooks; }

void ModalWindowOpened() {
  if (g_hooks.opened != nullptr) g_hooks.opened();
}

void ModalWindowClosed() {
  if (g_hooks.closed != nullptr) g_hooks.closed();
}
