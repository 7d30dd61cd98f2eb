; The Keyloom setup program: installs keyloom.exe, its help and the starting data files into
; "C:\Keyloom ver_1_01" (or a folder the user picks), with shortcuts and an uninstaller.
;
; Built by the Windows tree: makensis -INPUTCHARSET UTF8 -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE keyloom.nsi,
; where DIR holds the files of an installation as the portable zip carries them.

; A 64-bit installer for a 64-bit program: it runs where Keyloom runs, and its registry is the 64-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define VERSION "1.01"
!define PUBLISHER "Keyloom"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyloom"
!define DEFAULT_DIR "C:\Keyloom ver_1_01"
!define HELP_FILE "Keyloom ver_1_01.pdf"

Name "Keyloom ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${DEFAULT_DIR}"
BrandingText "Keyloom ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "1.0.1.0"
VIAddVersionKey /LANG=0 "ProductName" "Keyloom"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Keyloom ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(UninstalledKeepsData)"
!insertmacro MUI_UNPAGE_FINISH

; The pages follow the Windows interface language: Russian, else English (the first one named).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString SectionProgram ${LANG_ENGLISH} "Keyloom"
LangString SectionProgram ${LANG_RUSSIAN} "Keyloom"
LangString SectionDesktop ${LANG_ENGLISH} "Desktop shortcut"
LangString SectionDesktop ${LANG_RUSSIAN} "Ярлык на рабочем столе"
LangString AboutProgram ${LANG_ENGLISH} "The program, its help and the starting key list (kept when one is already there)."
LangString AboutProgram ${LANG_RUSSIAN} "Программа, справка и начальный список ключей (уже имеющийся сохраняется)."
LangString AboutDesktop ${LANG_ENGLISH} "A Keyloom shortcut on the desktop."
LangString AboutDesktop ${LANG_RUSSIAN} "Ярлык Keyloom на рабочем столе."
LangString CloseKeyloom ${LANG_ENGLISH} "Keyloom is running. Close it, then press Retry."
LangString CloseKeyloom ${LANG_RUSSIAN} "Keyloom запущен. Закройте его и нажмите «Повтор»."
LangString UninstalledKeepsData ${LANG_ENGLISH} "Keyloom has been removed from your computer.$\r$\n$\r$\nYour data stay in $INSTDIR: the key lists crkeys.data and zipkeys.data, the issued codes usersData.data and the language setting appconfig.ini.$\r$\n$\r$\nClick Finish to close this wizard."
LangString UninstalledKeepsData ${LANG_RUSSIAN} "Программа Keyloom удалена с вашего компьютера.$\r$\n$\r$\nВаши данные остались в папке $INSTDIR: списки ключей crkeys.data и zipkeys.data, выданные коды usersData.data и выбор языка appconfig.ini.$\r$\n$\r$\nНажмите кнопку «Готово» для выхода из программы удаления."

; A running keyloom.exe cannot be replaced or removed: the user closes it first. Silent use gives up.
!macro WaitUntilKeyloomIsClosed
  ${Do}
    FindWindow $0 "my Window"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseKeyloom)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  !insertmacro WaitUntilKeyloomIsClosed
  ; Another installation is offered its own folder, unless /D names one.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $INSTDIR == "${DEFAULT_DIR}"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro WaitUntilKeyloomIsClosed
FunctionEnd

Section "$(SectionProgram)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR\help"
  File "${STAGE}/help/${HELP_FILE}"
  ; The working folder of every shortcut is the installation folder, where the program keeps its files.
  SetOutPath "$INSTDIR"
  File "${STAGE}/keyloom.exe"
  ; The user's key list and issued codes are never replaced. A lost key list comes back from
  ; its spare copy rather than from the shipped one, whose next store would overwrite the spare.
  ${IfNot} ${FileExists} "$INSTDIR\crkeys.data"
    ${If} ${FileExists} "$INSTDIR\zipkeys.data"
      CopyFiles /SILENT "$INSTDIR\zipkeys.data" "$INSTDIR\crkeys.data"
    ${Else}
      File "${STAGE}/crkeys.data"
    ${EndIf}
  ${EndIf}
  SetOverwrite off
  File "${STAGE}/usersData.data"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Keyloom.lnk" "$INSTDIR\keyloom.exe" "" "$INSTDIR\keyloom.exe" 0
SectionEnd

Section "$(SectionDesktop)" SecDesktop
  SetOutPath "$INSTDIR"
  SetShellVarContext all
  CreateShortcut "$DESKTOP\Keyloom.lnk" "$INSTDIR\keyloom.exe" "" "$INSTDIR\keyloom.exe" 0
SectionEnd

; Registered last, so that the size counts every file of the folder.
Section "-Registration"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Keyloom ${VERSION} (x64)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\keyloom.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(AboutProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "$(AboutDesktop)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes what the setup program brought and keeps what the user made: crkeys.data, zipkeys.data,
; usersData.data and appconfig.ini stay, and with them the folder.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Keyloom.lnk"
  Delete "$DESKTOP\Keyloom.lnk"
  Delete "$INSTDIR\keyloom.exe"
  Delete "$INSTDIR\help\${HELP_FILE}"
  RMDir "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
