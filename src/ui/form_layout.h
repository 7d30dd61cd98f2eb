// The main form's 59 controls as one table (class, identifier, caption, position, size, style) and
// its six views: for every control a view touches, its state in each. The shell applies both.
#pragma once

#include <cstdint>

#include "base/card_address.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/ui_text.h"

// Whole style values, WS_CHILD + WS_VISIBLE included.
enum FormStyle : uint32_t {
  kStyleGroupBox = 0x50020007,    // WS_GROUP + BS_GROUPBOX
  kStyleStatic = 0x50000000,      // SS_LEFT
  kStylePushButton = 0x50000000,  // BS_PUSHBUTTON
  kStyleDropDownList = 0x50000003,
  kStyleUpDown = 0x50000006,        // UDS_SETBUDDYINT + UDS_ALIGNRIGHT
  kStyleReadOnlyEdit = 0x50800800,  // WS_BORDER + ES_READONLY
  kStyleKeyEdit = 0x50800028,       // WS_BORDER + ES_PASSWORD + ES_UPPERCASE
  kStyleDataEdit = 0x50800008,      // WS_BORDER + ES_UPPERCASE
  kStyleCheckBox = 0x50000002,      // BS_CHECKBOX
  kStyleRadio = 0x50000009,         // BS_AUTORADIOBUTTON
};

inline constexpr char kClassButton[] = "Button";
inline constexpr char kClassStatic[] = "Static";
inline constexpr char kClassCombobox[] = "Combobox";
inline constexpr char kClassEdit[] = "Edit";
inline constexpr char kClassUpDown[] = "msctls_updown32";

using UiTextEntry = const char* UiTextTable::*;

struct FormControlRow {
  const char* className;
  int id;                 // 0 for the controls reached only through their handles
  UiTextEntry uiCaption;  // the caption in the active language, or nullptr
  const char* caption;    // the caption when it is the same in both languages (or empty)
  int x, y, width, height;
  uint32_t style;
};

inline constexpr int kFormControlCount = 59;
extern const FormControlRow kFormControls[kFormControlCount];

// Table rows (0-based) of the controls that are reached by their place in the form.
enum FormRow : int {
  kRowSettingsGroup = 0,
  kRowPortLabel = 1,
  kRowVersionLabel = 4,
  kRowVersionValue = 5,
  kRowCardGroup = 6,
  kRowTypeLabel = 7,
  kRowMasterGroup = 14,
  kRowWorkModeLabel = 15,
  kRowSectorLabel = 17,
  kRowSectorUpDown = 18,
  kRowSectorEdit = 19,
  kRowBlockLabel = 20,
  kRowBlockUpDown = 21,
  kRowBlockEdit = 22,
  kRowKeyLabel = 23,
  kRowKeyEdit = 24,
  kRowUserGroup = 29,
  kRowDataLabel = 30,
  kRowDataEdit = 31,
  kRowConverterGroup = 34,
  kRowTouchMemoryLabel = 35,
  kRowTouchMemoryEdit = 36,
  kRowHexLabel = 37,
  kRowHexEdit = 38,
  kRowDecimalLabel = 39,
  kRowDecimalEdit = 40,
  kRowReaderInterfaceGroup = 41,
  kRowConverterRadio1 = 43,
  kRowOrvaneGroup = 44,
  kRowInterfacesGroup = 45,
  kRowIndicationGroup = 49,
  kRowStandbyGroup = 52,
  kRowTouchPollGroup = 56,
  kRowLast = 58,
};

// The row of a control identifier, or -1.
int FormRowOfId(int id);

// A group of radio buttons and the one checked when the form is built (once its last one exists).
struct RadioGroup {
  int first, last, checked;
};
// The groups by their place in the table: the converter format, then the four reader settings.
enum RadioGroupIndex : int {
  kRadioConverterFormat,
  kRadioOutputInterface,
  kRadioIndication,
  kRadioStandby,
  kRadioTouchPoll,
  kRadioGroupCount,
};
extern const RadioGroup kRadioGroups[kRadioGroupCount];
// The form's radio group of each reader setting, in block order.
inline constexpr RadioGroupIndex kReaderSettingGroups[kReaderSettingCount] = {kRadioOutputInterface, kRadioIndication,
                                                                            kRadioStandby, kRadioTouchPoll};

// The items of the card type and work mode lists, in index order.
inline constexpr int kCardTypeItemCount = 2;
extern const UiTextEntry kCardTypeItems[kCardTypeItemCount];
inline constexpr int kWorkModeItemCount = 4;
extern const UiTextEntry kWorkModeItems[kWorkModeItemCount];

// The text limits of the key and data edits: their lengths without the spaces.
inline constexpr int kKeyEditLimit = kKeyFieldLayout.digitCount;
inline constexpr int kDataEditLimit = kDataFieldLayout.digitCount;

// The ranges of the sector and block up-downs, packed as UDM_SETRANGE wants them
// (low word the upper bound, high word the lower bound).
inline constexpr uint32_t kSectorRange = static_cast<uint32_t>(kFirstSector) << 16 | static_cast<uint32_t>(kLastSector);
inline constexpr uint32_t kBlockRange = static_cast<uint32_t>(kLastBlock);

// The views by card type and work mode.
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
