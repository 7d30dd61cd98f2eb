// What the main form must look like, written out control by control in creation order, and
// the driver steps the form scenarios share: walking the controls, their places, the view choice.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "ui/control_ids.h"

struct ExpectedControl {
  const char* className;
  int id;
  const ShownText* translated;  // caption that follows the language, or nullptr
  const char* caption;         // caption the same in both languages
  int x, y, width, height;
  uint32_t style;  // WS_CHILD + WS_VISIBLE included
};

inline constexpr int kExpectedControlCount = 59;
extern const ExpectedControl kExpectedForm[kExpectedControlCount];

// The main window's children in creation (z-) order.
std::vector<HWND> FormChildren(HWND main);
// A window's rectangle in the main window's client coordinates.
RECT ClientRectIn(HWND main, HWND control);
// The items of the card type and work mode lists, in their order.
enum CardTypeItem : int { kMasterCard, kUserCard };
enum WorkModeItem : int { kModeCardId, kModeSectorData, kModeCardIdAuth, kModeSectorDataDecrypt };
// Chooses card type and work mode as the user does: the selections, then the CBN_SELCHANGE of
// one of the two combo boxes; returns once the main window has handled it.
void ChooseView(HWND main, int cardType, int workMode, int changedCombo = kIdWorkMode);
// The caption a row shows in a language.
std::string CaptionIn(const ExpectedControl& row, Language language);
