// The texts as the program must show them, in English and in Russian (Windows-1251 bytes),
// written out apart from the program's own table so that a slip in either one shows.
#pragma once

#include <string>

#include "ui/ui_text.h"

struct ShownText {
  const char* english;
  const char* russian;
};

inline std::string TextIn(const ShownText& text, Language language) {
  return language == kEnglish ? text.english : text.russian;
}

namespace shown {

extern const ShownText kWindowTitle;
// The caption of the start-up search's wait.
extern const ShownText kSearchWaitCaption;

// The menu bar and the right-click menu.
extern const ShownText kMenuFile, kMenuQuit, kMenuTools, kMenuLanguage, kMenuHelp, kMenuHelpItem, kMenuAbout,
    kMenuCardJournal;
// The Language submenu's items read the same in both languages.
extern const char kLanguageRussian[], kLanguageEnglish[];

// The main form: group boxes, labels, combo box items, buttons and check boxes, radio buttons.
extern const ShownText kGroupSettings, kGroupCard, kGroupMasterCard, kGroupUserCard, kGroupConverter,
    kGroupReaderInterface, kGroupOrvaneSettings, kGroupInterfaces, kGroupIndicationControl, kGroupStandbyIndication,
    kGroupTouchButtonPoll;
extern const ShownText kLabelProgrammerPort, kLabelVersion, kLabelType, kLabelWorkMode, kLabelSectorNum,
    kLabelBlockNum, kLabelSystemKey, kLabelSectorData;
extern const ShownText kCardTypeMaster, kCardTypeUser;
extern const ShownText kWorkModeCardId, kWorkModeSectorData, kWorkModeCardIdAuth, kWorkModeSectorDataDecrypt;
extern const ShownText kButtonSearch, kButtonWrite, kButtonRead, kButtonClear, kButtonWriteCyclically,
    kButtonClearCyclically, kCheckShowKey, kButtonGenerateRandom, kButtonAddToList, kButtonShowList,
    kButtonGenerateUnique, kCheckGenerateBeforeWrite;
extern const ShownText kRadioDirect, kRadioInverse, kRadioDynamic, kRadioStatic, kRadioStandbyOff, kRadioPollOn,
    kRadioPollOff;

// Message boxes: the caption, the two yes/no questions and the help reports.
extern const ShownText kMessageCaption, kConfirmClear, kConfirmDeleteKey;
extern const ShownText kJournalNone;
extern const ShownText kHelpNotFound, kHelpFolderHint, kHelpCannotOpen, kInstallPdfViewer, kHelpOpenFailed,
    kErrorCode;

// The About dialog's caption and the first line of its text.
extern const ShownText kAboutCaption, kAboutFirstLine;

// The setup program's title and "Next" button, and its refusal to run without elevation.
extern const ShownText kSetupTitle, kSetupNext, kSetupRefusal;

// The system's buttons of a yes/no question asked in English and in the user's default
// language, which is Russian on the machines the scenarios run on.
extern const ShownText kQuestionYes, kQuestionNo;

// The box of a key file conversion that failed at a step, which reads the same in both languages:
// the step's text, then the error number.
extern const char kCryptoOpenSource[], kCryptoOpenDestination[], kCryptoWrite[];
std::string CryptoErrorBox(const char* step, unsigned long code);

}  // namespace shown
