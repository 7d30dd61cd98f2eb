; The Keyloom setup program: installs keyloom.exe, its help and the starting data files into
; "C:\Keyloom ver_1_01" (or a folder the user picks), with shortcuts and an uninstaller.
;
; Built by the Windows tree: makensis -INPUTCHARSET UTF8 -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE keyloom.nsi,
; where DIR holds the files of an installation as the portable zip carries them.

; A 64-bit installer for a 64-bit program: it runs where Keyloom runs, and its registry is the 64-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
; A file that cannot be written stops the installation instead of being skipped.
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define VERSION "1.01"
!define PUBLISHER "Keyloom"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyloom"
!define DEFAULT_DIR "C:\Keyloom ver_1_01"
!define HELP_FILE "Keyloom ver_1_01.pdf"

; The installation folder is Keyloom's working folder: the people who program cards keep its data files
; there, so they may add and change files in it. What an administrator runs (keyloom.exe and
; uninstall.exe) lives apart in its "program" folder, which only administrators may change, and so
; does the help. In the security descriptor language: the system and administrators may do everything;
; users read everything, may add files to the installation folder and change or delete the files
; directly in it, but may add no folder there and change nothing in "program" and "help".
!define PROGRAM_DIR "program"
!define WORKING_FOLDER_SECURITY "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;;0x2;;;BU)(A;OIIONP;0x1301bf;;;BU)"
!define READ_ONLY_FOLDER_SECURITY "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
; The exit code of a run without an administrator's rights: ERROR_ELEVATION_REQUIRED.
!define NOT_ELEVATED 740

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage
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
LangString NeedsAdministrator ${LANG_ENGLISH} "Only an administrator can install or remove Keyloom. Start this program with $\"Run as administrator$\"."
LangString NeedsAdministrator ${LANG_RUSSIAN} "Установить или удалить Keyloom может только администратор. Запустите эту программу командой «Запуск от имени администратора»."
LangString CloseKeyloom ${LANG_ENGLISH} "Keyloom is running. Close it, then press Retry."
LangString CloseKeyloom ${LANG_RUSSIAN} "Keyloom запущен. Закройте его и нажмите «Повтор»."
LangString FileInUse ${LANG_ENGLISH} "$BlockedFile is in use and cannot be replaced or removed. Close the program that uses it, then press Retry."
LangString FileInUse ${LANG_RUSSIAN} "Файл $BlockedFile занят, его нельзя заменить или удалить. Закройте программу, которая его использует, и нажмите «Повтор»."
LangString ForeignFolder ${LANG_ENGLISH} "$INSTDIR already holds other files. Choose a new or empty folder, or the folder of an earlier Keyloom installation."
LangString ForeignFolder ${LANG_RUSSIAN} "В папке $INSTDIR уже есть другие файлы. Выберите новую или пустую папку либо папку прежней установки Keyloom."
LangString FolderNotSecured ${LANG_ENGLISH} "The access rights of $BlockedFile cannot be set."
LangString FolderNotSecured ${LANG_RUSSIAN} "Не удалось задать права доступа к папке $BlockedFile."
LangString UninstalledKeepsData ${LANG_ENGLISH} "Keyloom has been removed from your computer.$\r$\n$\r$\nYour data stay in $INSTDIR: the key lists crkeys.data and zipkeys.data, the issued codes usersData.data, the card journal cardJournal.csv and the language setting appconfig.ini.$\r$\n$\r$\nClick Finish to close this wizard."
LangString UninstalledKeepsData ${LANG_RUSSIAN} "Программа Keyloom удалена с вашего компьютера.$\r$\n$\r$\nВаши данные остались в папке $INSTDIR: списки ключей crkeys.data и zipkeys.data, выданные коды usersData.data, журнал карт cardJournal.csv и выбор языка appconfig.ini.$\r$\n$\r$\nНажмите кнопку «Готово» для выхода из программы удаления."

; The file or folder that a message names.
Var BlockedFile

; Setup and uninstaller run only with an administrator's rights: a run without them could write
; neither the Uninstall entry nor the shortcuts of all users, nor protect the program's folder.
; The account must be an administrator's and the token elevated: the limited token that UAC gives an
; administrator's programs still carries the group (if only to deny with it).
!macro RefuseWithoutAdministrator
  UserInfo::GetAccountType
  Pop $0
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r2'
  StrCpy $3 0
  ${If} $2 <> 0
    ; TokenElevation (20): a DWORD, non-zero when elevated.
    System::Call 'advapi32::GetTokenInformation(p r1, i 20, *i .r3, i 4, *i .r4)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ${If} $0 != "Admin"
  ${OrIf} $3 = 0
    MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdministrator)" /SD IDOK
    SetErrorLevel ${NOT_ELEVATED}
    Quit
  ${EndIf}
!macroend

; Installer and uninstaller each need their own copy of a function: "un." names the uninstaller's.
!macro CheckFunctions UN
; The id of a process, of any user and any session, that runs the program file on the stack; 0 when
; none does.
Function ${UN}ProcessRunning
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  System::Alloc 65536
  Pop $1
  System::Call 'kernel32::K32EnumProcesses(p r1, i 65536, *i .r2)'
  IntOp $2 $2 / 4
  StrCpy $3 0
  StrCpy $7 0
  ${DoWhile} $3 < $2
    IntOp $4 $3 * 4
    IntPtrOp $4 $1 + $4
    System::Call '*$4(i .r4)'
    ; PROCESS_QUERY_LIMITED_INFORMATION, which other users' processes grant too.
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r4) p .r5'
    ${If} $5 P<> 0
      StrCpy $6 ""
      System::Call 'kernel32::QueryFullProcessImageNameW(p r5, i 0, w .r6, *i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::CloseHandle(p r5)'
      ${If} $6 == $0
        StrCpy $7 $4
      ${EndIf}
    ${EndIf}
    IntOp $3 $3 + 1
  ${Loop}
  System::Free $1
  StrCpy $0 $7
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Gives up (after asking to close it, unless silent) while Keyloom runs from the program file on the stack.
Function ${UN}WaitUntilNotRunning
  Exch $0
  Push $1
  ${Do}
    Push $0
    Call ${UN}ProcessRunning
    Pop $1
    ${If} $1 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseKeyloom)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd

; Gives up (after asking to close what holds it, unless silent) while the file on the stack cannot be
; replaced or removed: some program has it open or runs it. A missing file is no obstacle.
Function ${UN}WaitUntilFree
  Exch $BlockedFile
  Push $0
  Push $1
  ${Do}
    ; GENERIC_WRITE | DELETE, shared with nobody, OPEN_EXISTING.
    System::Call 'kernel32::CreateFileW(w "$BlockedFile", i 0x40010000, i 0, p 0, i 3, i 0, p 0) p .r0 ?e'
    Pop $1
    ${If} $0 P<> -1
      System::Call 'kernel32::CloseHandle(p r0)'
      ${Break}
    ${EndIf}
    ; ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
    ${If} $1 = 2
    ${OrIf} $1 = 3
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileInUse)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
  Pop $1
  Pop $0
  Pop $BlockedFile
FunctionEnd
!macroend
!insertmacro CheckFunctions ""
!insertmacro CheckFunctions "un."

; Checks every file of the program folder, whatever put it there.
Function WaitUntilProgramFilesFree
  Push $0
  Push $1
  FindFirst $0 $1 "$INSTDIR\${PROGRAM_DIR}\*"
  ${DoWhile} $1 != ""
    ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM_DIR}\$1\*"
      Push "$INSTDIR\${PROGRAM_DIR}\$1"
      Call WaitUntilFree
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
  Pop $1
  Pop $0
FunctionEnd

; Deletes a file that the checks found free; should it be taken in the meantime, the run stops.
!macro DeleteOrStop PATH
  ClearErrors
  Delete "${PATH}"
  ${If} ${Errors}
    StrCpy $BlockedFile "${PATH}"
    MessageBox MB_OK|MB_ICONSTOP "$(FileInUse)" /SD IDOK
    Abort
  ${EndIf}
!macroend

; Gives a folder an owner and access rights of its own (SDDL), no longer inherited from the folder
; above; Windows hands the inheritable rights on to what the folder already holds. Stops the run
; when the rights cannot be set.
!macro SecureFolder FOLDER SDDL
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $BlockedFile "${FOLDER}"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${SDDL}", i 1, *p .r0, p 0) i .r1'
  ${If} $1 <> 0
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r0, *p .r2, *i .r4)'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r0, *i .r4, *p .r3, *i .r4)'
    ; SE_FILE_OBJECT; OWNER | DACL | PROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "${FOLDER}", i 1, i 0x80000005, p r2, p 0, p r3, p 0) i .r1'
    System::Call 'kernel32::LocalFree(p r0)'
    ${If} $1 = 0
      StrCpy $BlockedFile ""
    ${EndIf}
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  ${If} $BlockedFile != ""
    MessageBox MB_OK|MB_ICONSTOP "$(FolderNotSecured)" /SD IDOK
    Abort
  ${EndIf}
!macroend

; Whether $INSTDIR may take an installation, whose access rights the setup program sets anew (and
; Windows hands on to what the folder holds): a new or empty folder, or one that already holds
; Keyloom's files, never a folder of other files (NSIS itself refuses a drive). Sets the error flag
; when it may not.
Function CheckInstallationFolder
  Push $0
  ClearErrors
  ${DirState} "$INSTDIR" $0
  ${If} $0 = 1
  ${AndIfNot} ${FileExists} "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
  ${AndIfNot} ${FileExists} "$INSTDIR\keyloom.exe"
  ${AndIfNot} ${FileExists} "$INSTDIR\crkeys.data"
  ${AndIfNot} ${FileExists} "$INSTDIR\zipkeys.data"
  ${AndIfNot} ${FileExists} "$INSTDIR\usersData.data"
  ${AndIfNot} ${FileExists} "$INSTDIR\cardJournal.csv"
    SetErrors
  ${EndIf}
  Pop $0
FunctionEnd

Function LeaveFolderPage
  Call CheckInstallationFolder
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(ForeignFolder)"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro RefuseWithoutAdministrator
  ; Another installation is offered its own folder, unless /D names one.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $INSTDIR == "${DEFAULT_DIR}"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; Nothing is changed before the folder is known to fit and everything the installation replaces or
; removes to be free: the program folder, the help and the copies that an older version kept in the
; installation folder.
Section "-Checks"
  Call CheckInstallationFolder
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(ForeignFolder)" /SD IDOK
    Abort
  ${EndIf}
  Push "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
  Call WaitUntilNotRunning
  Push "$INSTDIR\keyloom.exe"
  Call WaitUntilNotRunning
  Call WaitUntilProgramFilesFree
  Push "$INSTDIR\help\${HELP_FILE}"
  Call WaitUntilFree
  Push "$INSTDIR\keyloom.exe"
  Call WaitUntilFree
  Push "$INSTDIR\uninstall.exe"
  Call WaitUntilFree
SectionEnd

Section "$(SectionProgram)" SecProgram
  SectionIn RO
  CreateDirectory "$INSTDIR\${PROGRAM_DIR}"
  CreateDirectory "$INSTDIR\help"
  !insertmacro SecureFolder "$INSTDIR" "${WORKING_FOLDER_SECURITY}"
  !insertmacro SecureFolder "$INSTDIR\${PROGRAM_DIR}" "${READ_ONLY_FOLDER_SECURITY}"
  !insertmacro SecureFolder "$INSTDIR\help" "${READ_ONLY_FOLDER_SECURITY}"
  ; The program folder holds nothing but this version's files; an older version's program is gone
  ; from the working folder.
  !insertmacro DeleteOrStop "$INSTDIR\${PROGRAM_DIR}\*.*"
  !insertmacro DeleteOrStop "$INSTDIR\keyloom.exe"
  !insertmacro DeleteOrStop "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR\help"
  File "${STAGE}/help/${HELP_FILE}"
  SetOutPath "$INSTDIR\${PROGRAM_DIR}"
  File "${STAGE}/keyloom.exe"
  WriteUninstaller "$INSTDIR\${PROGRAM_DIR}\uninstall.exe"
  ; The working folder of every shortcut is the installation folder, where the program keeps its files.
  SetOutPath "$INSTDIR"
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
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Keyloom.lnk" "$INSTDIR\${PROGRAM_DIR}\keyloom.exe" "" "$INSTDIR\${PROGRAM_DIR}\keyloom.exe" 0
SectionEnd

Section "$(SectionDesktop)" SecDesktop
  SetOutPath "$INSTDIR"
  SetShellVarContext all
  CreateShortcut "$DESKTOP\Keyloom.lnk" "$INSTDIR\${PROGRAM_DIR}\keyloom.exe" "" "$INSTDIR\${PROGRAM_DIR}\keyloom.exe" 0
SectionEnd

; Registered last, so that the size counts every file of the folder.
Section "-Registration"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Keyloom ${VERSION} (x64)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_DIR}\keyloom.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${PROGRAM_DIR}\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${PROGRAM_DIR}\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(AboutProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "$(AboutDesktop)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; The uninstaller lives in the program folder; the installation folder it removes is the one above.
Function un.onInit
  !insertmacro RefuseWithoutAdministrator
  ${GetParent} "$INSTDIR" $INSTDIR
FunctionEnd

; The target of the shortcut on the stack, through the shell's IShellLink; "" when it cannot be read.
Function un.ShortcutTarget
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $3 ""
  System::Call 'ole32::CoCreateInstance(g "{00021401-0000-0000-C000-000000000046}", p 0, i 1, g "{000214F9-0000-0000-C000-000000000046}", *p .r1) i .r4'
  ${If} $4 = 0
    ; IShellLinkW -> IPersistFile::Load, then IShellLinkW::GetPath with SLGP_RAWPATH.
    System::Call '$1->0(g "{0000010b-0000-0000-C000-000000000046}", *p .r2) i .r4'
    ${If} $4 = 0
      System::Call '$2->5(w r0, i 0) i .r4'
      ${If} $4 = 0
        System::Call '$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 4)'
      ${EndIf}
      System::Call '$2->2()'
    ${EndIf}
    System::Call '$1->2()'
  ${EndIf}
  StrCpy $0 $3
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Removes a shortcut only when it starts this installation's Keyloom: another installation's stays.
!macro un.DeleteOwnShortcut PATH
  Push "${PATH}"
  Call un.ShortcutTarget
  Pop $0
  ${If} $0 == "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
    Delete "${PATH}"
  ${EndIf}
!macroend

; Removes what the setup program brought and keeps what the user made: crkeys.data, zipkeys.data,
; usersData.data, cardJournal.csv and appconfig.ini stay, and with them the folder. The program files go first; while
; one of them cannot, the shortcuts and the Uninstall entry stay too.
Section "Uninstall"
  Push "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
  Call un.WaitUntilNotRunning
  Push "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
  Call un.WaitUntilFree
  Push "$INSTDIR\help\${HELP_FILE}"
  Call un.WaitUntilFree

  !insertmacro DeleteOrStop "$INSTDIR\${PROGRAM_DIR}\keyloom.exe"
  !insertmacro DeleteOrStop "$INSTDIR\help\${HELP_FILE}"
  RMDir "$INSTDIR\help"

  SetShellVarContext all
  !insertmacro un.DeleteOwnShortcut "$SMPROGRAMS\Keyloom.lnk"
  !insertmacro un.DeleteOwnShortcut "$DESKTOP\Keyloom.lnk"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == '"$INSTDIR\${PROGRAM_DIR}\uninstall.exe"'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}

  ; Run in place (_?=), the uninstaller cannot delete itself: it and its folder stay.
  Delete "$INSTDIR\${PROGRAM_DIR}\uninstall.exe"
  RMDir "$INSTDIR\${PROGRAM_DIR}"
  RMDir "$INSTDIR"
SectionEnd
