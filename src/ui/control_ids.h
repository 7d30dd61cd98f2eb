// The main window's command ids: the identifiers of the main form's controls, and the menu commands.
// Controls without an identifier are reached through their row in the form table.
#pragma once

enum ControlId : int {
  kIdPortList = 6,
  kIdSearch = 7,
  kIdCardType = 8,
  kIdWrite = 9,
  kIdRead = 10,
  kIdClear = 11,
  kIdWriteCyclically = 12,
  kIdClearCyclically = 13,
  kIdWorkMode = 14,
  kIdSectorUpDown = 15,
  kIdSectorEdit = 16,
  kIdBlockUpDown = 17,
  kIdBlockEdit = 18,
  kIdShowKey = 19,
  kIdGenerateRandom = 20,
  kIdAddToList = 21,
  kIdShowList = 22,
  kIdGenerateUnique = 23,
  kIdGenerateBeforeWrite = 24,
  kIdInterfaceTouchMemory = 25,
  kIdInterfaceWiegand26 = 26,
  kIdInterfaceWiegand44 = 27,
  kIdIndicationDirect = 28,
  kIdIndicationInverse = 29,
  kIdStandbyDynamic = 30,
  kIdStandbyStatic = 31,
  kIdStandbyOff = 32,
  kIdTouchPollOn = 33,
  kIdTouchPollOff = 34,
  kIdConverterFormat0 = 35,
  kIdConverterFormat1 = 36,
  kIdKeyEdit = 37,
  kIdDataEdit = 38,
};

enum MenuCommand : int {
  kCommandQuit = 1,
  kCommandRussian = 2,
  kCommandEnglish = 3,
  kCommandHelp = 4,
  kCommandAbout = 5,
  kCommandCardJournal = 50,
};
