// The reader-setting codes that card blocks carry: the four radio groups and the work modes,
// as tables, and the snapshot of the form from which a card command is built.
#pragma once

#include <cstdint>

// The four radio groups of the reader settings, in block order (block bytes 1 to 4).
enum SettingGroupIndex : int {
  kGroupOutputInterface = 0,
  kGroupIndication = 1,
  kGroupStandby = 2,
  kGroupTouchPoll = 3,
  kSettingGroupCount = 4,
};

struct SettingGroup {
  int buttonCount;  // the codes a block byte of the group may carry, one radio button each
};
// The n-th button of a group (0-based) stands for the code 'd' + n.
extern const SettingGroup kSettingGroups[kSettingGroupCount];

struct WorkModeCode {
  uint8_t code;
  bool carriesData;  // a user write puts the sector data into the block
  bool encodesData;  // ... passed through EncodeSectorData
};
constexpr int kWorkModeCount = 4;
// By work-mode list index: the codes are not in list order.
extern const WorkModeCode kWorkModes[kWorkModeCount];

constexpr uint8_t kFirstSettingCode = 'd';

// The form as a card command sees it. Indexes are -1 when nothing is selected or checked.
struct CardSnapshot {
  int cardType = -1;                          // 0 Master, 1 User
  int workMode = -1;                          // work-mode list index 0..3
  int radio[kSettingGroupCount] = {-1, -1, -1, -1};  // checked button within each group
  bool generateBeforeWrite = false;           // "Generate unique data before write"
  int32_t sectorNumber = 1;
  int32_t blockNumber = 0;
  uint8_t systemKey[6] = {};
  uint8_t sectorData[7] = {};
};

// The code of a radio group: its first checked button, or the group's first code when none is.
uint8_t RadioGroupCode(int checkedIndex);
// The button index of a code within a group of `buttonCount`, or -1 when the code is not in it.
int RadioIndexOfCode(uint8_t code, int buttonCount);
// The work-mode list index of a code, or -1.
int WorkModeIndexOfCode(uint8_t code);
