// The keys list window with its eleven controls and its procedure, and every box of the key store.
// It never touches the key files: the key store does, and returns what it came to.
// Compiled into Windows-1251 bytes for the conversion step texts.
#include "keystore/win/keys_window.h"

#include <commctrl.h>

#include <cstdio>

#include "ui/form_state.h"
#include "ui/win/hex_fields.h"
#include "ui/win/main_form.h"
#include "ui/win/message_box.h"

namespace {

// The texts of a failed conversion's steps, which read the same in both interface languages.
const char* const kStepTexts[] = {
    "Ошибка открытия исходного текстового файла!",
    "Ошибка открытия файла назначения!",
    "Ошибка во время CryptAcquireContext!",
    "Ошибка во время CryptCreateHash!",
    "Ошибка во время CryptHashData!",
    "Ошибка во время CryptDeriveKey!",
    "Недостаточно памяти!",
    "Ошибка чтения открытого текста!",
    "Ошибка во время CryptEncrypt!",
    "Ошибка во время CryptDecrypt!",
    "Ошибка записи зашифрованного текста!",
};

// The open window, the controls the program talks to, and the record taken by the last click or
// double-click in the list (-1: none). This file alone writes it; it is emptied when the window
// goes.
struct KeysWindowState {
  HWND window = nullptr;
  HWND keyEdit = nullptr;
  HWND descriptionEdit = nullptr;
  HWND list = nullptr;
  HWND useButton = nullptr;
  HWND removeButton = nullptr;
  int selectedRecord = -1;
};

KeysWindowState g_keys;

constexpr int kWindowWidth = 650;
constexpr int kWindowHeight = 480;

// The box of a conversion that failed at a step: its text and "Номер ошибки: 0x%08X.".
void ShowCryptoError(CryptoStep step, DWORD code) {
  const std::string text = WithErrorCode(ErrorCodeForm::kCryptoStep, kStepTexts[step], code);
  ShowMessage(g_keys.window, text.c_str(), UiText.messageCaption, MB_OK, kMessageError);
}

struct KeysControlRow {
  const char* className;
  int id;
  const char* const UiTextTable::*caption;  // nullptr: no caption
  int x, y, width, height;
  DWORD style;
  HWND* handle;
};

HWND CreateControl(const KeysControlRow& row) {
  const char* caption = row.caption ? UiText.*row.caption : "";
  HWND control = CreateWindowExA(0, row.className, caption, WS_CHILD | WS_VISIBLE | row.style,
                                 row.x, row.y, row.width, row.height, g_keys.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 g_instance, nullptr);
  if (row.handle) *row.handle = control;
  return control;
}

void AddKeysColumns() {
  const struct {
    const char* const UiTextTable::*header;
    int width;
  } columns[] = {
      {&UiTextTable::columnNumber, 35}, {&UiTextTable::columnWorkMode, 35},
      {&UiTextTable::columnSector, 35}, {&UiTextTable::columnBlock, 35},
      {&UiTextTable::columnKey, 130},   {&UiTextTable::columnDescription, 200},
  };
  int index = 0;
  for (const auto& column : columns) {
    LVCOLUMNA lvc = {};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = column.width;
    lvc.pszText = const_cast<char*>(UiText.*column.header);
    lvc.iSubItem = index;
    SendMessageA(g_keys.list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&lvc));
    ++index;
  }
}

bool ShowKeyChecked() {
  return IsDlgButtonChecked(g_keys.window, kIdKeysShowKey) == BST_CHECKED;
}

void SetCell(int row, int column, const char* text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  SendMessageA(g_keys.list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// Appends the row of a record with its key as shown (spaced or masked); the row's number is the
// record's, as the list is always rebuilt from the start of the file.
void AppendKeysRow(const KeyRecord& record, const char* shownKey) {
  const int row = static_cast<int>(SendMessageA(g_keys.list, LVM_GETITEMCOUNT, 0, 0));
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>("");
  SendMessageA(g_keys.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  char number[16];
  snprintf(number, sizeof number, "%04d", row);
  const char* const cells[] = {number,       record.workMode, record.sector,
                               record.block, shownKey,        record.description};
  for (int column = 0; column < 6; ++column) SetCell(row, column, cells[column]);
}

// The rows of the records, in place of those shown, drawn once when all are there.
void ShowRows(const std::vector<KeyRecord>& records) {
  SendMessageA(g_keys.list, LVM_DELETEALLITEMS, 0, 0);
  SendMessageA(g_keys.list, WM_SETREDRAW, FALSE, 0);
  const bool masked = !ShowKeyChecked();
  for (const KeyRecord& record : records) {
    char key[kSpacedKeyLength + 1];
    ShownKeyText(record, masked, key);
    AppendKeysRow(record, key);
  }
  SendMessageA(g_keys.list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(g_keys.list, nullptr, TRUE);
}

// Fills the list from the stored list again. The rows of a list that could not be read go, and
// with them the record taken and Use This Key and Remove: the numbers they show may no longer
// name the same records (a removal renumbers those after it), and acting on one would take,
// or remove, a key the user did not choose. The user is told when rows went.
void RefreshRows() {
  const LRESULT rowsShown = SendMessageA(g_keys.list, LVM_GETITEMCOUNT, 0, 0);
  KeyRecordList list;
  KeyStoreReports reports;
  const bool listed = RefreshKeysList(&list, &reports);
  if (list.read) ShowRows(list.records);
  ShowKeyStoreReports(reports);
  if (listed) return;
  SendMessageA(g_keys.list, LVM_DELETEALLITEMS, 0, 0);
  g_keys.selectedRecord = -1;
  EnableWindow(g_keys.useButton, FALSE);
  EnableWindow(g_keys.removeButton, FALSE);
  if (rowsShown > 0) {
    ShowMessage(g_keys.window, UiText.msgKeysListNotRead, UiText.messageCaption, MB_OK, kMessageWarning);
  }
}

// Shows a record's key and description in the two edits.
void ShowRecordInEdits(int record) {
  KeyEditTexts texts;
  KeyStoreReports reports;
  const bool loaded = ShowKeyRecord(record, &texts, &reports);
  ShowKeyStoreReports(reports);
  if (!loaded) return;
  SetWindowTextA(g_keys.keyEdit, texts.key);
  SetWindowTextA(g_keys.descriptionEdit, texts.description);
}

void ShowFirstKey() { ShowRecordInEdits(0); }

// A one-character code of a record as the index of its button, -1 when it is no digit.
int IndexOf(const char* code) {
  return code[0] >= '0' && code[0] <= '9' && code[1] == '\0' ? code[0] - '0' : -1;
}

// Puts a record on the main form: radios, view and work mode, sector, block and system key. A
// code outside its values leaves its setting unchanged.
void ApplyKeyRecord(const KeyRecord& record) {
  FormRecord form;
  const char* const codes[kReaderSettingCount] = {record.outputInterface, record.indicationControl,
                                                  record.standbyIndication, record.touchButtonPoll};
  for (int setting = 0; setting < kReaderSettingCount; ++setting) form.radio[setting] = IndexOf(codes[setting]);
  const int mode = IndexOf(record.workMode);
  form.workMode = mode <= 3 ? mode : -1;
  form.sector = KeyRecordSector(record);
  for (const char* c = record.block; *c >= '0' && *c <= '9'; ++c) form.block = form.block * 10 + (*c - '0');
  // The key as the list shows it in clear, and the bytes of that text: what the form shows is what
  // the next frame sends.
  char text[kSpacedKeyLength + 1];
  ShownKeyText(record, false, text);
  form.hasKey = true;
  KeyTextToBytes(text, form.key);
  form.keyText = text;
  form.keyDescription = record.description;
  ShowFormRecord(form);
}

// A setting's code: the checked button's place, '0' when none is.
char CodeOf(int checked) { return static_cast<char>('0' + (checked < 0 ? 0 : checked)); }

// The settings a new key line records: the radios, the work mode and FormState's sector and block
// as they are now.
KeyLineSettings ReadFormKeySettings() {
  const FormSettings form = ReadFormSettings();
  KeyLineSettings settings;
  settings.outputInterface = CodeOf(form.radio[0]);
  settings.indicationControl = CodeOf(form.radio[1]);
  settings.standbyIndication = CodeOf(form.radio[2]);
  settings.touchButtonPoll = CodeOf(form.radio[3]);
  settings.workMode = form.workMode >= 1 && form.workMode <= 3 ? CodeOf(form.workMode) : '0';
  settings.sector = g_form.sectorNumber;
  settings.block = g_form.blockNumber;
  return settings;
}

// The controls in their order; the list is filled right after its creation.
void CreateKeysControls() {
  const KeysControlRow before[] = {
      {"Button", 0, &UiTextTable::keysGroup, 5, 5, 635, 400, WS_GROUP | BS_GROUPBOX, nullptr},
      {"Static", 0, &UiTextTable::keysKeyLabel, 18, 30, 80, 15, 0, nullptr},
      {"Edit", kIdKeysKeyEdit, nullptr, 105, 27, 383, 23,
       WS_BORDER | ES_READONLY | ES_PASSWORD | ES_UPPERCASE, &g_keys.keyEdit},
      {"Button", kIdKeysShowKey, &UiTextTable::checkShowKey, 500, 27, 130, 23, BS_CHECKBOX,
       nullptr},
      {"Static", 0, &UiTextTable::keysDescriptionLabel, 18, 65, 80, 15, 0, nullptr},
      {"Edit", kIdKeysDescriptionEdit, nullptr, 105, 62, 383, 23, WS_BORDER,
       &g_keys.descriptionEdit},
      {"Button", kIdKeysAddNew, &UiTextTable::keysAddNew, 500, 62, 130, 23, 0, nullptr},
      {"SysListView32", kIdKeysList, nullptr, 18, 95, 470, 300,
       WS_BORDER | LVS_REPORT | LVS_SINGLESEL, &g_keys.list},
  };
  const KeysControlRow after[] = {
      {"Button", kIdKeysUseThisKey, &UiTextTable::keysUseThisKey, 500, 95, 130, 23, 0,
       &g_keys.useButton},
      {"Button", kIdKeysRemove, &UiTextTable::keysRemove, 500, 128, 130, 23, 0,
       &g_keys.removeButton},
      {"Button", kIdKeysCancel, &UiTextTable::keysCancel, 500, 415, 130, 23, 0, nullptr},
  };
  for (const KeysControlRow& row : before) CreateControl(row);
  SendMessageA(g_keys.descriptionEdit, EM_LIMITTEXT, kMaxDescriptionLength, 0);
  SendMessageA(g_keys.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
               LVS_EX_FULLROWSELECT);
  AddKeysColumns();
  RefreshRows();
  for (const KeysControlRow& row : after) CreateControl(row);
  EnableWindow(g_keys.useButton, FALSE);
  EnableWindow(g_keys.removeButton, FALSE);
}

void OnShowKeyToggled() {
  const bool show = !ShowKeyChecked();
  CheckDlgButton(g_keys.window, kIdKeysShowKey, show ? BST_CHECKED : BST_UNCHECKED);
  MaskKeyEdit(g_keys.keyEdit, !show);
  RefreshRows();
}

void OnAddNew() {
  char key[32] = {};
  char description[kMaxDescriptionLength + 1] = {};
  GetWindowTextA(g_keys.keyEdit, key, sizeof key);
  GetWindowTextA(g_keys.descriptionEdit, description, sizeof description);
  int listedAt = -1;
  KeyStoreReports reports;
  const AddKeyResult result = AddKey(key, description, ReadFormKeySettings(), &listedAt, &reports);
  ShowKeyStoreReports(reports);
  if (result == AddKeyResult::kListed) {
    char text[256];
    snprintf(text, sizeof text, "[%04d] %s", listedAt, UiText.msgKeyAlreadyInList);
    ShowMessage(g_keys.window, text, UiText.messageCaption, MB_OK, kMessageError);
    return;
  }
  Sleep(25);
  RefreshRows();
}

void OnRemove() {
  if (g_keys.selectedRecord < 1) return;
  char text[256];
  snprintf(text, sizeof text, "[%04d] %s", g_keys.selectedRecord, UiText.msgConfirmDeleteKey);
  if (AskYesNo(g_keys.window, text)) {
    KeyStoreReports removal;
    const bool removed = RemoveKey(g_keys.selectedRecord, &removal);
    ShowKeyStoreReports(removal);
    if (!removed) {
      PostMessageA(g_keys.window, WM_CLOSE, 0, 0);
    } else {
      KeyStoreReports storing;
      const bool stored = StoreEncryptedKeys(&storing);
      ShowKeyStoreReports(storing);
      if (stored) {
        RefreshRows();
        ShowFirstKey();
      }
    }
  }
  g_keys.selectedRecord = -1;
}

void OnUseThisKey() {
  if (g_keys.selectedRecord == -1) return;
  KeyRecord record;
  KeyStoreReports reports;
  const bool loaded = UseKeyRecord(g_keys.selectedRecord, &record, &reports);
  ShowKeyStoreReports(reports);
  if (loaded) ApplyKeyRecord(record);
  PostMessageA(g_keys.window, WM_CLOSE, 0, 0);
}

void OnCommand(HWND window, int id) {
  switch (id) {
    case kIdKeysShowKey:
      OnShowKeyToggled();
      break;
    case kIdKeysAddNew:
      OnAddNew();
      break;
    case kIdKeysUseThisKey:
      OnUseThisKey();
      break;
    case kIdKeysRemove:
      OnRemove();
      break;
    case kIdKeysCancel:
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
  }
}

int FirstSelectedRow() {
  return static_cast<int>(SendMessageA(g_keys.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       LVNI_SELECTED));
}

// The list's clicks; true when the message is passed on.
bool OnListNotify(const NMHDR* header) {
  if (header->code == static_cast<UINT>(NM_CLICK)) {
    g_keys.selectedRecord = FirstSelectedRow();
    if (g_keys.selectedRecord == -1) return false;
    EnableWindow(g_keys.useButton, TRUE);
    EnableWindow(g_keys.removeButton, TRUE);
  } else if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    g_keys.selectedRecord = FirstSelectedRow();
    if (g_keys.selectedRecord == -1) return false;
    ShowRecordInEdits(g_keys.selectedRecord);
  }
  return true;
}

LRESULT CALLBACK KeysWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      break;
    case WM_NOTIFY:
      if (wParam == kIdKeysList && !OnListNotify(reinterpret_cast<NMHDR*>(lParam))) return 0;
      break;
    case WM_CLOSE:
      // The owner is enabled before this window goes, so that it is the one activated.
      EnableWindow(g_mainWindow, TRUE);
      break;
    case WM_DESTROY:
      g_keys = KeysWindowState{};
      EnableWindow(g_mainWindow, TRUE);
      SetFocus(g_mainWindow);
      // A hot-plug check held while this window was open runs at the main loop's next turn.
      PostMessageA(g_mainWindow, WM_NULL, 0, 0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool OpenKeysWindow() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = KeysWindowProc;
  windowClass.hInstance = g_instance;
  windowClass.hIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(kProgramIcon));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kKeysWindowClass;
  RegisterClassA(&windowClass);
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - kWindowWidth / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - kWindowHeight / 2;
  g_keys.window = CreateWindowExA(0, kKeysWindowClass, UiText.keysTitle,
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, kWindowWidth,
                                 kWindowHeight, g_mainWindow, nullptr, g_instance, nullptr);
  if (g_keys.window == nullptr) return false;
  EnableWindow(g_mainWindow, FALSE);
  // Plain key files left behind by a run that ended abruptly go before anything else.
  ShowKeyStoreReports(RemovePlainKeyFiles());
  CreateKeysControls();
  ShowWindow(g_keys.window, SW_SHOWNORMAL);
  UpdateWindow(g_keys.window);
  return true;
}

HWND KeysWindowHandle() { return g_keys.window; }

void OnAddToList() {
  if (!OpenKeysWindow()) return;
  SetWindowTextA(g_keys.keyEdit, g_form.systemKeyText);
  SetWindowTextA(g_keys.descriptionEdit, UiText.keysDefaultDescription);
}

void OnShowList() {
  if (OpenKeysWindow()) ShowFirstKey();
}

void ShowKeyStoreReports(const KeyStoreReports& reports) {
  for (const KeyStoreReport& report : reports) {
    if (report.message == nullptr) {
      ShowCryptoError(report.step, report.code);
      continue;
    }
    const std::string text = report.withCode
                                 ? WithErrorCode(ErrorCodeForm::kGetLastError, UiText.*report.message, report.code)
                                 : UiText.*report.message;
    ShowMessage(g_keys.window, text.c_str(), UiText.messageCaption, MB_OK, kMessageError);
  }
}
