// The program's windows that stay open over the main window (the keys list) say when they open and
// close, so that timed checks wait for them; the program sets at start what that does.
#pragma once

struct ModalWindowHooks {
  void (*opened)() = nullptr;
  void (*closed)() = nullptr;
};

void SetModalWindowHooks(const ModalWindowHooks& hooks);

void ModalWindowOpened();
void ModalWindowClosed();
