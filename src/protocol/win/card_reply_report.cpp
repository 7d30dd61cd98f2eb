// Reports each card reply with its message, records a write or clear that succeeded, and decodes a
// block read from a card back onto the form; the card-type list itself is never changed.
#include "protocol/win/card_reply_report.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "link/timings.h"
#include "protocol/card_replies.h"
#include "protocol/hex_pairs_text.h"
#include "protocol/win/card_commands.h"
#include "protocol/win/card_number_display.h"
#include "ui/control_ids.h"
#include "ui/form_state.h"
#include "ui/win/app_window.h"
#include "ui/win/form_view_switch.h"
#include "ui/win/message_box.h"

bool HandleCardReply(const char* reply, int length) {
  const CardReply result =
      ClassifyCardReply(reinterpret_cast<const uint8_t*>(reply), static_cast<size_t>(length));
  if (result.kind == kCardReplyNotRecognized) return false;
  if (result.setsLastOperationSucceeded && RecordCardSuccess()) {
    Sleep(kCyclicPauseMs);
    return true;
  }
  Report(UiText.*(result.message), static_cast<MessageKind>(result.messageKind));
  if (result.kind == kCardReplyBlockRead) ApplyCardBlock(result.block);
  return true;
}

void ApplyCardBlock(const CardBlockValues& block) {
  if (block.isMaster) {
    for (int group = 0; group < kSettingGroupCount; ++group) {
      if (block.radio[group] < 0) continue;
      const SettingGroup& buttons = kSettingGroups[group];
      CheckRadioButton(g_mainWindow, buttons.firstControl,
                       buttons.firstControl + buttons.buttonCount - 1,
                       buttons.firstControl + block.radio[group]);
    }
  }
  if (block.workMode >= 0) {
    const int cardType =
        static_cast<int>(SendDlgItemMessageA(g_mainWindow, kIdCardType, CB_GETCURSEL, 0, 0));
    ApplyView(static_cast<unsigned>(ViewCodeAfterRead(cardType, block)));
    SendDlgItemMessageA(g_mainWindow, kIdWorkMode, CB_SETCURSEL, static_cast<WPARAM>(block.workMode), 0);
  }
  g_form.sectorNumber = block.sectorNumber;
  g_form.blockNumber = block.blockNumber;
  SendDlgItemMessageW(g_mainWindow, kIdSectorUpDown, UDM_SETPOS32, 0, block.sectorNumber);
  SendDlgItemMessageW(g_mainWindow, kIdBlockUpDown, UDM_SETPOS32, 0, block.blockNumber);
  if (block.isMaster) {
    std::memcpy(g_form.systemKey, block.systemKey, sizeof g_form.systemKey);
    HexPairsText(g_form.systemKey, 6, g_form.systemKeyText);
    SetDlgItemTextA(g_mainWindow, kIdKeyEdit, g_form.systemKeyText);
    return;
  }
  std::memcpy(g_form.sectorData, block.sectorData, sizeof g_form.sectorData);
  HexPairsText(g_form.sectorData, 7, g_form.sectorDataText);
  SetDlgItemTextA(g_mainWindow, kIdDataEdit, g_form.sectorDataText);
  ShowCardNumber();
}
