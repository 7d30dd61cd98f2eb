// The control-by-view table of the main form and the view codes with their field resets.
// Entries follow the order in which a view is applied: card buttons, master card group,
// user card group, converter group, Orvane reader settings group.
#include "ui/form_views.h"

#include "ui/form_layout.h"

// clang-format off
const ViewStateRow kViewStates[kViewStateRowCount] = {
  // row                         M-ID M-DATA M-AUTH U-ID U-DATA U-AUTH
  {FormRowOfId(9),               "EEEDEE"},  // "Write"
  {FormRowOfId(10),              "EEEDEE"},  // "Read"
  {FormRowOfId(11),              "EEEDEE"},  // "Clear"
  {FormRowOfId(12),              "DDDDcE"},  // "Write cyclically"
  {FormRowOfId(13),              "EEEDEE"},  // "Clear cyclically"
  {FormRowOfId(14),              "EEEDDD"},  // work mode combo box
  {kRowSectorLabel,              "DEEDEE"},
  {kRowSectorUpDown,             "DEEDDD"},
  {kRowSectorEdit,               "DEEDDD"},
  {kRowBlockLabel,               "DEDDED"},
  {kRowBlockUpDown,              "DEDDDD"},
  {kRowBlockEdit,                "DEDDDD"},
  {kRowKeyLabel,                 "DEEDEE"},
  {kRowKeyEdit,                  "DEEDDD"},
  {FormRowOfId(19),              "DEEDEE"},  // "Show Key"
  {FormRowOfId(20),              "DEEDDD"},  // "Generate random"
  {FormRowOfId(21),              "EEEDDD"},  // "Add to list"
  {FormRowOfId(22),              "EEEEEE"},  // "Show list"
  {kRowUserGroup,                "HHHSSS"},
  {kRowDataLabel,                "HHHDED"},
  {kRowDataEdit,                 "HHHDuD"},
  {FormRowOfId(23),              "HHHDuD"},  // "Generate unique"
  {FormRowOfId(24),              "HHHxED"},  // "Generate unique data before write"
  {kRowConverterGroup,           "HHHSSS"},
  {kRowTouchMemoryLabel,         "HHHDED"},
  {kRowHexLabel,                 "HHHDED"},
  {kRowDecimalLabel,             "HHHDED"},
  {kRowTouchMemoryEdit,          "HHHDuD"},
  {kRowHexEdit,                  "HHHDuD"},
  {kRowDecimalEdit,              "HHHDuD"},
  {kRowReaderInterfaceGroup,     "HHHSSS"},
  {FormRowOfId(35),              "HHHDuD"},  // converter radios
  {FormRowOfId(36),              "HHHDuD"},
  {kRowOrvaneGroup,              "SSSHHH"},
  {kRowInterfacesGroup,          "SSSHHH"},
  {kRowIndicationGroup,          "SSSHHH"},
  {kRowStandbyGroup,             "SSSHHH"},
  {kRowTouchPollGroup,           "SSSHHH"},
  {FormRowOfId(25),              "SSSHHH"},  // Orvane settings radios
  {FormRowOfId(26),              "SSSHHH"},
  {FormRowOfId(27),              "SSSHHH"},
  {FormRowOfId(28),              "SSSHHH"},
  {FormRowOfId(29),              "SSSHHH"},
  {FormRowOfId(30),              "SSSHHH"},
  {FormRowOfId(31),              "SSSHHH"},
  {FormRowOfId(32),              "SSSHHH"},
  {FormRowOfId(33),              "SSSHHH"},
  {FormRowOfId(34),              "SSSHHH"},
};
// clang-format on

unsigned ViewCodeOf(int cardType, int workMode) {
  return static_cast<unsigned>(cardType) * 10u + static_cast<unsigned>(workMode);
}

bool ViewOfCode(unsigned code, FormView* view) {
  switch (code) {
    case 0: *view = kViewMasterId; return true;
    case 1: case 3: *view = kViewMasterData; return true;
    case 2: *view = kViewMasterAuth; return true;
    case 10: *view = kViewUserId; return true;
    case 11: case 13: *view = kViewUserData; return true;
    case 12: *view = kViewUserAuth; return true;
  }
  return false;
}

FieldReset FieldResetOf(unsigned code) {
  if (code == 0) return kResetMasterId;
  if (code == 2) return kResetBlock;
  return kResetNothing;
}

ControlState StateInView(const ViewStateRow& entry, FormView view) {
  return static_cast<ControlState>(entry.states[view]);
}

bool ShownInView(int row, FormView view) {
  for (const ViewStateRow& entry : kViewStates) {
    if (entry.row == row) return StateInView(entry, view) != kStateHidden;
  }
  return true;
}

bool FollowsBox24(ControlState state) {
  return state == kStateEnabledIfBox24 || state == kStateEnabledUnlessBox24;
}
