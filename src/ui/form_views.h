// The form's views by card type and work mode: the view of each view code, the field reset that
// comes before it, and for every control the view touches its state in each of the six views.
// Portable core: the shell applies these states to the controls.
#pragma once

#include "ui/form_state.h"

enum FormView : int {
  kViewMasterId,
  kViewMasterData,
  kViewMasterAuth,
  kViewUserId,
  kViewUserData,
  kViewUserAuth,
  kViewCount,
};

// The view the form opens in: master card, "Send card ID".
inline constexpr FormView kStartView = kViewMasterId;

// Card type index x 10 + work mode index.
unsigned ViewCodeOf(int cardType, int workMode);
// The view of a code; false for codes that have none (a combo box without a selection).
bool ViewOfCode(unsigned code, FormView* view);
// What a code resets in FormState (and in the controls showing it) before its view applies.
FieldReset FieldResetOf(unsigned code);

// The state a view gives a control.
enum ControlState : char {
  kStateEnabled = 'E',          // visible and enabled
  kStateDisabled = 'D',         // visible and disabled
  kStateHidden = 'H',           // hidden, enabled state left as it was
  kStateShown = 'S',            // visible, enabled state left as it was
  kStateEnabledIfBox24 = 'c',   // visible; enabled while "Generate unique data before write" is checked
  kStateEnabledUnlessBox24 = 'u',  // visible; enabled while it is unchecked
  kStateDisabledUnchecked = 'x',   // visible, disabled, and its check cleared
};

struct ViewStateRow {
  int row;                   // the control's row in the form table
  const char* states;        // one ControlState per view, in FormView order
};

inline constexpr int kViewStateRowCount = 48;
extern const ViewStateRow kViewStates[kViewStateRowCount];

ControlState StateInView(const ViewStateRow& entry, FormView view);
// False when the view hides the control of a form row; rows the table leaves out are always shown.
bool ShownInView(int row, FormView view);
// True when a state follows the "Generate unique data before write" check box.
bool FollowsBox24(ControlState state);
