; The setup program of Calculate Checksums, made by scripts/release_installer.py with makensis.
; It installs for the current user alone, without asking for elevation, under
; %LOCALAPPDATA%\Programs\Calculate Checksums, and adds what it is asked for: the Explorer verb
; on every file, a Send To shortcut and the folder on the user's PATH (each on unless
; /NOVERB, /NOSENDTO or /NOPATH is given; /S installs silently). An earlier installation is
; removed by its own uninstaller first, so a newer version replaces an older one and the same
; version installed again is a repair. The uninstaller takes back exactly what was added.
;
; Defined by the caller: VERSION (1.2.3), SOURCE (the folder holding the files below), ICON and
; OUTFILE. No file time is stored, so the same files always give the same bytes.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define PRODUCT "Calculate Checksums"
!define PUBLISHER "Calculate Checksums developers"
!define PROGRAM "checksums.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CalculateChecksums"
!define CLASSES "Software\Classes"
!define VERB_PARENT "${CLASSES}\*"
!define VERB_KEY "${VERB_PARENT}\shell\CalculateChecksums"
!define ENVIRONMENT_KEY "Environment"
; The PATH entry this installation added, kept in its uninstall key for the uninstaller.
!define PATH_ENTRY_VALUE "PathEntry"
; makensis strings hold 1023 characters: a longer PATH cannot be read whole, so it is left alone.
!define LONGEST_PATH 1023

; The installed files, in one list for the installer and the uninstaller.
!macro EACH_INSTALLED_FILE ACTION
  !insertmacro ${ACTION} "checksums.exe"
  !insertmacro ${ACTION} "checksums-cli.exe"
  !insertmacro ${ACTION} "README.txt"
  !insertmacro ${ACTION} "LICENSE"
  !insertmacro ${ACTION} "THIRD-PARTY-NOTICES"
!macroend
!macro INSTALL_FILE NAME
  File "${SOURCE}\${NAME}"
!macroend
!macro REMOVE_FILE NAME
  Delete "$INSTDIR\${NAME}"
!macroend

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License, ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The pages come from Contrib/UIs/modern_smalldesc.exe, which the notices name.
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; PATH entries are compared as Windows compares names: without regard to case.
; ${un}PathWithout: PATH on the stack, then the entry above it; leaves PATH without every entry
; equal to it, every other entry (empty ones too) kept in its place.
!macro PATH_WITHOUT un
Function ${un}PathWithout
  Exch $1  ; the entry
  Exch
  Exch $0  ; the PATH, read from the front
  Push $2  ; what is kept
  Push $3  ; the length of the next entry
  Push $4  ; a character, then the entry
  Push $5  ; the separator before the next kept entry
  StrCpy $2 ""
  StrCpy $5 ""
  ${Do}
    StrCpy $3 0
    ${Do}
      StrCpy $4 $0 1 $3
      ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
      ${IfThen} $4 == ";" ${|} ${ExitDo} ${|}
      IntOp $3 $3 + 1
    ${Loop}
    StrCpy $4 $0 $3
    ${If} $4 != $1
      StrCpy $2 "$2$5$4"
      StrCpy $5 ";"
    ${EndIf}
    IntOp $3 $3 + 1
    StrLen $4 $0
    ${IfThen} $3 > $4 ${|} ${ExitDo} ${|}
    StrCpy $0 $0 "" $3
  ${Loop}
  StrCpy $0 $2
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Exch $0
  Exch
  Pop $1
FunctionEnd
!macroend
!insertmacro PATH_WITHOUT ""
!insertmacro PATH_WITHOUT "un."

!macro ANNOUNCE_ENVIRONMENT_CHANGE
  ; New consoles started from Explorer take the changed PATH.
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

; Sets $0 to 1 when the user's environment has a Path value, else 0.
Function HasUserPath
  StrCpy $0 0
  StrCpy $1 0
  ${Do}
    ClearErrors
    EnumRegValue $2 HKCU "${ENVIRONMENT_KEY}" $1
    ${If} ${Errors}
    ${OrIf} $2 == ""
      ${ExitDo}
    ${EndIf}
    ${If} $2 == "Path"
      StrCpy $0 1
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd

; Appends the installation folder to the user's PATH, unless it is there already, and records
; the entry for the uninstaller. The separator always goes before the new entry, so taking the
; entry out again restores the value as it was.
Function AddToPath
  Call HasUserPath
  StrCpy $1 ""
  ${If} $0 == 1
    ClearErrors
    ReadRegStr $1 HKCU "${ENVIRONMENT_KEY}" "Path"
    ${If} ${Errors}
      DetailPrint "Your PATH is too long to be changed safely; it was left as it is."
      Return
    ${EndIf}
  ${EndIf}
  Push $1
  Push $INSTDIR
  Call PathWithout
  Pop $2
  ${If} $2 != $1
    DetailPrint "$INSTDIR is on your PATH already."
    Return
  ${EndIf}
  ${If} $1 == ""
    StrCpy $2 $INSTDIR
  ${Else}
    StrCpy $2 "$1;$INSTDIR"
  ${EndIf}
  StrLen $3 $2
  ${If} $3 > ${LONGEST_PATH}
    DetailPrint "Your PATH is too long to be changed safely; it was left as it is."
    Return
  ${EndIf}
  WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}" $INSTDIR
  !insertmacro ANNOUNCE_ENVIRONMENT_CHANGE
FunctionEnd

; An earlier installation, of any version, is taken away by its own uninstaller, run in place
; so that it finishes before the files are written; the uninstaller itself is left to us.
Function RemoveEarlierInstallation
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  DetailPrint "Removing the installation in $0 first"
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

Section "${PRODUCT} (required)" SECTION_PROGRAM
  SectionIn RO
  Call RemoveEarlierInstallation
  SetOutPath "$INSTDIR"
  !insertmacro EACH_INSTALLED_FILE INSTALL_FILE
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Section "Explorer menu: Calculate Checksums on every file" SECTION_VERB
  WriteRegStr HKCU "${VERB_KEY}" "" "${PRODUCT}"
  WriteRegStr HKCU "${VERB_KEY}" "Icon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${VERB_KEY}\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
SectionEnd

Section "Send To menu" SECTION_SEND_TO
  CreateShortcut "$SENDTO\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Section "checksums-cli on your PATH" SECTION_PATH
  Call AddToPath
SectionEnd

; Last, so that the size counts every file.
Section "-Add/Remove Programs entry"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SECTION_PROGRAM} "The checksum window and the console companion checksums-cli, a Start menu entry and an entry in Add/Remove Programs."
  !insertmacro MUI_DESCRIPTION_TEXT ${SECTION_VERB} "Right-click any file and choose Calculate Checksums (on Windows 11 under Show more options)."
  !insertmacro MUI_DESCRIPTION_TEXT ${SECTION_SEND_TO} "Calculate Checksums in the Send To menu of every file."
  !insertmacro MUI_DESCRIPTION_TEXT ${SECTION_PATH} "Adds the folder to your PATH, so that checksums-cli works in any new console."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

!macro LEAVE_OUT_WHEN_ASKED OPTION SECTION
  ClearErrors
  ${GetOptions} $0 "${OPTION}" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SECTION}
  ${EndIf}
!macroend

Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  !insertmacro LEAVE_OUT_WHEN_ASKED "/NOVERB" ${SECTION_VERB}
  !insertmacro LEAVE_OUT_WHEN_ASKED "/NOSENDTO" ${SECTION_SEND_TO}
  !insertmacro LEAVE_OUT_WHEN_ASKED "/NOPATH" ${SECTION_PATH}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Function un.RemoveFromPath
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}"
  ${IfThen} $1 == "" ${|} Return ${|}
  ClearErrors
  ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
  ${IfThen} ${Errors} ${|} Return ${|}
  Push $0
  Push $1
  Call un.PathWithout
  Pop $2
  ${If} $2 == ""
    DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
  ${Else}
    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" $2
  ${EndIf}
  !insertmacro ANNOUNCE_ENVIRONMENT_CHANGE
FunctionEnd

; Keys the installer may have made on the way to its own are taken away only when they are left
; empty.
Section "Uninstall"
  Call un.RemoveFromPath
  DeleteRegKey HKCU "${VERB_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${VERB_PARENT}\shell"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${VERB_PARENT}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${CLASSES}"
  Delete "$SENDTO\${SHORTCUT}"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  !insertmacro EACH_INSTALLED_FILE REMOVE_FILE
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
SectionEnd
