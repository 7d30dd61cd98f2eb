// The main window procedure: every message is handled (or not) and then still goes on to
// DefWindowProcA, whose result is returned. Command ids are the controls' and menu items' ids.
#include "app/win/main_window.h"

#include "app/win/main_loop.h"
#include "app/win/waits.h"
#include "keystore/win/keys_window.h"
#include "keystore/win/plain_key_files.h"
#include "link/win/link_state.h"
#include "link/win/reader_search.h"
#include "protocol/win/card_commands.h"
#include "protocol/win/card_journal_file.h"
#include "ui/win/main_form.h"
#include "protocol/win/form_generator_commands.h"
#include "ui/control_ids.h"
#include "ui/ui_text.h"
#include "ui/win/menu_bar.h"
#include "ui/win/hex_fields.h"
#include "ui/win/language.h"

namespace {

void OnCommand(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case kCommandQuit:
      SendMessageA(g_mainWindow, WM_CLOSE, 0, 0);
      break;
    case kCommandRussian:
    case kCommandEnglish:
      OnLanguageCommand(LOWORD(wParam));
      break;
    case kIdAddToList:
      OnAddToList();
      break;
    case kIdShowList:
      OnShowList();
      break;
    case kIdPortList:
      // While its drop-down list is open the port list is the user's: a check would refill it.
      if (HIWORD(wParam) == CBN_DROPDOWN) HoldHotplugChecks();
      if (HIWORD(wParam) == CBN_CLOSEUP) ReleaseHotplugChecks();
      if (HIWORD(wParam) == CBN_SELCHANGE) OnPortChosen();
      break;
    case kIdSearch:
      OnSearchCommand();
      break;
    case kIdWrite:
    case kIdRead:
    case kIdClear:
    case kIdWriteCyclically:
    case kIdClearCyclically:
      OnCardCommand(LOWORD(wParam));
      break;
    case kIdGenerateRandom:
      OnGenerateRandomCommand();
      break;
    case kIdGenerateUnique:
      OnGenerateUniqueCommand();
      break;
    case kCommandHelp:
      OnHelpCommand();
      break;
    case kCommandAbout:
      OnAboutCommand();
      break;
    case kCommandCardJournal:
      OnCardJournalCommand();
      break;
    case kIdShowKey:
      OnShowKeyCommand();
      break;
    case kIdGenerateBeforeWrite:
      OnGenerateBeforeWriteCommand();
      break;
    case kIdConverterFormat0:
    case kIdConverterFormat1:
      OnConverterFormatCommand(LOWORD(wParam));
      break;
    case kIdKeyEdit:
    case kIdDataEdit:
      OnHexFieldCommand(LOWORD(wParam), HIWORD(wParam));
      break;
    case kIdCardType:
    case kIdWorkMode:
      OnViewComboCommand(wParam);
      break;
  }
}

}  // namespace

void RegisterMainWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = g_instance;
  windowClass.hIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(2));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassA(&windowClass);
}

HWND CreateMainWindow() {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 332;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 335;
  return CreateWindowExA(0, kMainWindowClass, UiText.windowTitle, WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                         kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, g_instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool fromMainLoop = TakeMainLoopDispatch();
  switch (message) {
    case WM_DESTROY:
      KillAllTimers();
      ResetLink();
      RemovePlainKeyFiles();
      CloseCardJournal();
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      OnCommand(wParam);
      break;
    case WM_NOTIFY:
      OnUpDownDelta(wParam, lParam);
      break;
    case WM_TIMER:
      OnTimer(wParam, fromMainLoop);
      break;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam);
      break;
    case WM_RBUTTONUP:
      ShowQuitMenu(lParam);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
