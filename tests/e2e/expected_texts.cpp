// The texts as the program must show them. Kept readable in UTF-8 here and compiled into the
// Windows-1251 bytes the program passes to the window functions.
#include "expected_texts.h"

#include <cstdio>

namespace shown {

const ShownText kWindowTitle = {"Keyloom ver.1.01 (x64)", "Keyloom вер.1.01 (x64)"};
const ShownText kSearchWaitCaption = {"Search for Tarnel reader", "Поиск считывателя Tarnel"};

const ShownText kMenuFile = {"File", "Файл"};
const ShownText kMenuQuit = {"Quit", "Выход"};
const ShownText kMenuTools = {"Tools", "Инструменты"};
const ShownText kMenuLanguage = {"Language", "Язык"};
const ShownText kMenuHelp = {"Help", "Помощь"};
const ShownText kMenuHelpItem = {"Help", "Справка"};
const ShownText kMenuAbout = {"About...", "О программе..."};
const ShownText kMenuCardJournal = {"Card journal", "Журнал карт"};
const char kLanguageRussian[] = "Русский";
const char kLanguageEnglish[] = "English";

const ShownText kGroupSettings = {" Settings ", " Настройки "};
const ShownText kGroupCard = {" Card ", " Карта "};
const ShownText kGroupMasterCard = {" Master card ", " Мастер-карта "};
const ShownText kGroupUserCard = {" User card ", " Пользовательская карта "};
const ShownText kGroupConverter = {" Custom Card Converter ", " Конвертер пользовательской карты "};
const ShownText kGroupReaderInterface = {" Reader interface ", " Интерфейс считывателя "};
const ShownText kGroupOrvaneSettings = {" Orvane reader settings ", " Настройки считывателя Orvane "};
const ShownText kGroupInterfaces = {" 1) INTERFACES: ", " 1) ИНТЕРФЕЙСЫ: "};
const ShownText kGroupIndicationControl = {" 2) INDICATION CONTROL: ", " 2) УПРАВЛЕНИЕ ИНДИКАЦИЕЙ: "};
const ShownText kGroupStandbyIndication = {" 3) INDICATION IN STANDBY MODE: ", " 3) ИНДИКАЦИЯ В ДЕЖУР. РЕЖИМЕ: "};
const ShownText kGroupTouchButtonPoll = {" 4) TOUCH BUTTON POLL: ", " 4) ОПРОС СЕНСОРНОЙ КНОПКИ: "};

const ShownText kLabelProgrammerPort = {"Programmer port: ", "Порт считывателя: "};
const ShownText kLabelVersion = {"Version: ", "Версия: "};
const ShownText kLabelType = {"Type: ", "Тип: "};
const ShownText kLabelWorkMode = {"Work mode: ", "Режим работы: "};
const ShownText kLabelSectorNum = {"Sector num: ", "Номер сектора: "};
const ShownText kLabelBlockNum = {"Block num: ", "Номер блока: "};
const ShownText kLabelSystemKey = {"System key (hex): ", "Ключ сектора (hex): "};
const ShownText kLabelSectorData = {"Sector data (hex): ", "Данные сектора (hex): "};

const ShownText kCardTypeMaster = {"Master", "Мастер"};
const ShownText kCardTypeUser = {"User", "Пользователь"};
const ShownText kWorkModeCardId = {"Send card ID", "Передача кода карты"};
const ShownText kWorkModeSectorData = {"Send sector data after logged in", "Передача данных из указанного сектора"};
const ShownText kWorkModeCardIdAuth = {"Send card ID after logged in",
                                       "Передача кода карты после успешной авторизации к сектору"};
const ShownText kWorkModeSectorDataDecrypt = {"Send sector data after logged in and decrypt",
                                              "Передача данных из указанного сектора (с шифрованием)"};

const ShownText kButtonSearch = {"SEARCH", "ПОИСК"};
const ShownText kButtonWrite = {"Write", "Записать"};
const ShownText kButtonRead = {"Read", "Считать"};
const ShownText kButtonClear = {"Clear", "Очистить"};
const ShownText kButtonWriteCyclically = {"Write cyclically", "Циклическая запись"};
const ShownText kButtonClearCyclically = {"Clear cyclically", "Циклическая очистка"};
const ShownText kCheckShowKey = {"Show Key", "Показать ключ"};
const ShownText kButtonGenerateRandom = {"Generate random", "Сгенерировать"};
const ShownText kButtonAddToList = {"Add to list", "Добавить в список"};
const ShownText kButtonShowList = {"Show list", "Показать список"};
const ShownText kButtonGenerateUnique = {"Generate unique", "Сгенерировать"};
const ShownText kCheckGenerateBeforeWrite = {"Generate unique data before write",
                                             "Генерировать уникальные данные перед записью"};

const ShownText kRadioDirect = {"Direct (active '1')", "Прямая (активная '1')"};
const ShownText kRadioInverse = {"Inverse (active '0')", "Инверсная (активный '0')"};
const ShownText kRadioDynamic = {"Dynamic", "Динамическая"};
const ShownText kRadioStatic = {"Static", "Статическая"};
const ShownText kRadioStandbyOff = {"Off", "Выкл."};
const ShownText kRadioPollOn = {"On", "Вкл."};
const ShownText kRadioPollOff = {"Off", "Выкл."};

const ShownText kMessageCaption = {"Message", "Сообщение"};
const ShownText kConfirmClear = {"Are you sure you want to clear the card?", "Вы уверены, что хотите очистить карту?"};
const ShownText kConfirmDeleteKey = {"Are you sure you want to delete the key?", "Вы точно хотите удалить ключ?"};

const ShownText kHelpNotFound = {
    "File not found!\n\rCheck for the presence of the help file (Keyloom ver_1_01.pdf).",
    "Файл не найден!\n\rПроверьте наличие файла справки (Keyloom ver_1_01.pdf)."};
const ShownText kHelpFolderHint = {
    "Open the help folder where the application is installed.\n\rDefault: C:\\Keyloom ver_1_01\\help",
    "Откройте папку help, где установлено приложение.\n\rПо умолчанию: C:\\Keyloom ver_1_01\\help"};
const ShownText kHelpCannotOpen = {"Help file cannot be opened!", "Файл справки не возможно открыть!"};
const ShownText kInstallPdfViewer = {"Install a PDF viewer on your PC.",
                                     "Установите на ПК программу для просмотра PDF-файлов."};
const ShownText kHelpOpenFailed = {"Opening the help file failed!", "Открытие файла справки завершилось неудачей!"};
const ShownText kErrorCode = {"Error code", "Код ошибки"};

const ShownText kAboutCaption = {"About...", "О программе..."};
const ShownText kAboutFirstLine = {"Program:", "Программа:"};

const ShownText kSetupTitle = {"Keyloom 1.01 Setup", "Установка Keyloom 1.01"};
const ShownText kSetupNext = {"&Next >", "&Далее >"};
const ShownText kSetupRefusal = {
    "Only an administrator can install or remove Keyloom. Start this program with \"Run as administrator\".",
    "Установить или удалить Keyloom может только администратор. Запустите эту программу командой «Запуск от имени "
    "администратора»."};

const ShownText kQuestionYes = {"&Yes", "&Да"};
const ShownText kQuestionNo = {"&No", "&Нет"};

const char kCryptoOpenSource[] = "Ошибка открытия исходного текстового файла!";
const char kCryptoOpenDestination[] = "Ошибка открытия файла назначения!";
const char kCryptoWrite[] = "Ошибка записи зашифрованного текста!";

std::string CryptoErrorBox(const char* step, unsigned long code) {
  char text[256];
  snprintf(text, sizeof text, "%s\nНомер ошибки: 0x%08lX.", step, code);
  return text;
}

const ShownText kJournalNone = {
    "There is no card journal yet.\nIt begins with the first card written or cleared.",
    "Журнала карт пока нет.\nОн начнётся с первой записанной или очищенной карты."};

}  // namespace shown
