; The setup program of Calculate Checksums, made by scripts/release_installer.py with makensis.
; It installs for the current user alone, without asking for elevation, under
; %LOCALAPPDATA%\Programs\Calculate Checksums, and adds what it is asked for: the Explorer verb
; on every file, a Send To shortcut, Verify Checksums with its verbs and shortcuts, and the folder
; on the user's PATH (each on unless /NOVERB, /NOSENDTO, /NOVERIFY or /NOPATH is given; /S
; installs silently). An earlier installation is
; removed by its own uninstaller first, so a newer version replaces an older one and the same
; version installed again is a repair. The uninstaller takes back exactly what was added. Neither
; changes anything while a program of the installation runs.
;
; Defined by the caller: VERSION (1.2.3), SOURCE (the folder holding the files below), HELPER
; (setup-helper.exe), ICON and OUTFILE. No file time is stored, so the same files always give the same bytes.

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
!include Sections.nsh

!define PRODUCT "Calculate Checksums"
!define PUBLISHER "Calculate Checksums developers"
!define PROGRAM "checksums.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "${PRODUCT}.lnk"
!define UNINSTALL_PARENT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_PARENT}\CalculateChecksums"
!define CLASSES "Software\Classes"
!define VERB_PARENT "${CLASSES}\*"
!define VERB_KEY "${VERB_PARENT}\shell\CalculateChecksums"
!define VERIFIER "checksums-verify.exe"
!define VERIFIER_SHORTCUT "Verify Checksums.lnk"
; "Verify checksum..." on every file, beside the verb above.
!define VERIFY_FILE_KEY "${VERB_PARENT}\shell\VerifyChecksum"
; "Verify checksums" on sums files, by extension: a verb of the file type's own that leaves its
; default program (a user's editor) as it is.
!define FILE_TYPES "Software\Classes\SystemFileAssociations"
!define VERIFY_SUMS_VERB "VerifyChecksums"
; "Create checksums file..." on folders, the only entry of ours there; a selection of files and
; folders goes to one sums file through Send To, which hands every selected item to one process.
!define FOLDER_PARENT "${CLASSES}\Directory"
!define CREATE_FOLDER_KEY "${FOLDER_PARENT}\shell\CreateChecksums"
!define CREATE_SHORTCUT "Create checksums file.lnk"
!define ENVIRONMENT_KEY "Environment"
; The PATH entry this installation added, kept in its uninstall key for the uninstaller.
!define PATH_ENTRY_VALUE "PathEntry"

; The installed files, in one list for the installer and the uninstaller.
!macro EACH_INSTALLED_FILE ACTION
  !insertmacro ${ACTION} "checksums.exe"
  !insertmacro ${ACTION} "checksums-cli.exe"
  !insertmacro ${ACTION} "README.txt"
  !insertmacro ${ACTION} "LICENSE"
  !insertmacro ${ACTION} "THIRD-PARTY-NOTICES"
!macroend
; The extensions of sums files, as checksums-verify and checksums-cli know them by name
; (sums/algorithm_by_file_name): each algorithm's name, alone and with "sum", and SFV's.
; tests/sums/sums_file_names_test.cpp holds this list to those names.
!macro EACH_SUMS_EXTENSION ACTION
  !insertmacro ${ACTION} ".crc32"
  !insertmacro ${ACTION} ".sfv"
  !insertmacro ${ACTION} ".md5"
  !insertmacro ${ACTION} ".md5sum"
  !insertmacro ${ACTION} ".sha1"
  !insertmacro ${ACTION} ".sha1sum"
  !insertmacro ${ACTION} ".sha224"
  !insertmacro ${ACTION} ".sha224sum"
  !insertmacro ${ACTION} ".sha256"
  !insertmacro ${ACTION} ".sha256sum"
  !insertmacro ${ACTION} ".sha384"
  !insertmacro ${ACTION} ".sha384sum"
  !insertmacro ${ACTION} ".sha512"
  !insertmacro ${ACTION} ".sha512sum"
  !insertmacro ${ACTION} ".sha3-224"
  !insertmacro ${ACTION} ".sha3-256"
  !insertmacro ${ACTION} ".sha3-384"
  !insertmacro ${ACTION} ".sha3-512"
  !insertmacro ${ACTION} ".blake3"
  !insertmacro ${ACTION} ".b3"
  !insertmacro ${ACTION} ".xxh3"
  !insertmacro ${ACTION} ".xxh128"
!macroend
!macro ADD_SUMS_VERB EXTENSION
  !insertmacro NOTE_KEY_IF_NEW "${FILE_TYPES}\${EXTENSION}"
  !insertmacro NOTE_KEY_IF_NEW "${FILE_TYPES}\${EXTENSION}\shell"
  WriteRegStr HKCU "${FILE_TYPES}\${EXTENSION}\shell\${VERIFY_SUMS_VERB}" "" "Verify checksums"
  WriteRegStr HKCU "${FILE_TYPES}\${EXTENSION}\shell\${VERIFY_SUMS_VERB}" "Icon" "$INSTDIR\${VERIFIER},0"
  WriteRegStr HKCU "${FILE_TYPES}\${EXTENSION}\shell\${VERIFY_SUMS_VERB}\command" "" '"$INSTDIR\${VERIFIER}" "%1"'
!macroend
!macro REMOVE_SUMS_VERB EXTENSION
  DeleteRegKey HKCU "${FILE_TYPES}\${EXTENSION}\shell\${VERIFY_SUMS_VERB}"
  !insertmacro REMOVE_KEY_IF_MADE "${FILE_TYPES}\${EXTENSION}\shell"
  !insertmacro REMOVE_KEY_IF_MADE "${FILE_TYPES}\${EXTENSION}"
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

; setup-helper.exe (installer/setup_helper) edits the user's PATH with the registry functions, at
; any length and keeping the value's type, and tells whether a program runs from a folder. The
; installer and the uninstaller each carry it and run it from their temporary folder; its exit
; codes:
!define HELPER_NAME "setup-helper.exe"
!define PATH_CHANGED 0
!define PATH_CREATED 10
!define PATH_UNCHANGED 11
!define PATH_LEFT_ALONE 12
!define PROGRAM_RUNNING 14
; The programs that must not run while their files are replaced or removed.
!define RUNNING_CHECKED "checksums.exe checksums-cli.exe checksums-verify.exe"
; Exit code of a setup or uninstall stopped before it changed anything.
!define STOPPED 2

; A folder as one argument of the helper's command line: in quotes, with the backslashes that end
; it doubled, since a backslash before a quote would escape it ("D:\" reaches a program as D:").
!macro QUOTED_ARGUMENT_FUNCTION PREFIX
  Function ${PREFIX}QuotedArgument
    Exch $R0
    Push $R1
    Push $R2
    StrCpy $R1 $R0
    ${Do}
      StrCpy $R2 $R1 1 -1
      ${IfThen} $R2 != "\" ${|} ${ExitDo} ${|}
      StrCpy $R1 $R1 -1
      StrCpy $R0 "$R0\"
    ${Loop}
    StrCpy $R0 '"$R0"'
    Pop $R2
    Pop $R1
    Exch $R0
  FunctionEnd
!macroend
!insertmacro QUOTED_ARGUMENT_FUNCTION ""
!insertmacro QUOTED_ARGUMENT_FUNCTION "un."

!macro QUOTED_ARGUMENT FOLDER RESULT
  Push "${FOLDER}"
  !ifdef __UNINSTALL__
    Call un.QuotedArgument
  !else
    Call QuotedArgument
  !endif
  Pop ${RESULT}
!macroend

; Runs the helper with ARGUMENTS; STATUS is its exit code, or empty when it could not be started.
!macro RUN_HELPER ARGUMENTS STATUS
  ClearErrors
  ExecWait '"$PLUGINSDIR\${HELPER_NAME}" ${ARGUMENTS}' ${STATUS}
  ${IfThen} ${Errors} ${|} StrCpy ${STATUS} "" ${|}
!macroend

!macro UNPACK_HELPER
  InitPluginsDir
  File "/oname=$PLUGINSDIR\${HELPER_NAME}" "${HELPER}"
!macroend

; In .onInit: stops, changing nothing, while a program runs from FOLDER; the user may close it
; and retry, and silently the setup ends with exit code STOPPED.
!macro STOP_WHILE_RUNNING FOLDER
  !insertmacro QUOTED_ARGUMENT "${FOLDER}" $R8
  ${Do}
    !insertmacro RUN_HELPER "running $R8 ${RUNNING_CHECKED}" $R9
    ${IfThen} $R9 != ${PROGRAM_RUNNING} ${|} ${ExitDo} ${|}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running from ${FOLDER}. Close it, then choose Retry." /SD IDCANCEL IDCANCEL`
      SetErrorLevel ${STOPPED}
      Quit
    ${EndIf}
  ${Loop}
!macroend

; Keys and folders that the installation makes are noted in its uninstall key, so that the
; uninstaller takes away only those, and only when they are left empty.
!define MADE_KEY "Made key "
!define MADE_INSTALL_FOLDER "MadeInstallFolder"
!define MADE_PARENT_FOLDER "MadeParentFolder"
!define PATH_CREATED_VALUE "PathCreated"

!macro NOTE_KEY_IF_NEW KEY
  ClearErrors
  EnumRegKey $R9 HKCU "${KEY}" 0
  ${If} ${Errors}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "${MADE_KEY}${KEY}" 1
  ${EndIf}
!macroend

!macro REMOVE_KEY_IF_MADE KEY
  ReadRegDWORD $R9 HKCU "${UNINSTALL_KEY}" "${MADE_KEY}${KEY}"
  ${If} $R9 == 1
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${KEY}"
  ${EndIf}
!macroend

!macro NOTE_FOLDER_IF_NEW FOLDER VALUE
  ${IfNot} ${FileExists} "${FOLDER}\*.*"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "${VALUE}" 1
  ${EndIf}
!macroend

; Takes away the folder of an installation and its parent, each when that installation made it
; and it is empty; read before the uninstall key goes.
!macro REMOVE_FOLDERS_IF_MADE FOLDER
  ReadRegDWORD $R8 HKCU "${UNINSTALL_KEY}" "${MADE_INSTALL_FOLDER}"
  ReadRegDWORD $R9 HKCU "${UNINSTALL_KEY}" "${MADE_PARENT_FOLDER}"
  ${IfThen} $R8 == 1 ${|} RMDir "${FOLDER}" ${|}
  ${If} $R9 == 1
    ${GetParent} "${FOLDER}" $R9
    RMDir "$R9"
  ${EndIf}
!macroend

; Adds the installation folder to the user's PATH unless it is there in any spelling, and notes
; the entry for the uninstaller.
Function AddToPath
  !insertmacro QUOTED_ARGUMENT "$INSTDIR" $1
  !insertmacro RUN_HELPER "add-path $1" $0
  ${If} $0 == ${PATH_CHANGED}
  ${OrIf} $0 == ${PATH_CREATED}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}" $INSTDIR
    ${IfThen} $0 == ${PATH_CREATED} ${|} WriteRegDWORD HKCU "${UNINSTALL_KEY}" "${PATH_CREATED_VALUE}" 1 ${|}
  ${ElseIf} $0 == ${PATH_UNCHANGED}
    DetailPrint "$INSTDIR is on your PATH already."
  ${ElseIf} $0 == ${PATH_LEFT_ALONE}
    DetailPrint "Your PATH is not plain text; it was left as it is."
    MessageBox MB_OK|MB_ICONINFORMATION "Your PATH is not plain text, so it was left as it is. To use checksums-cli in a console, add this folder to it yourself:$\r$\n$INSTDIR" /SD IDOK
  ${Else}
    DetailPrint "Your PATH could not be changed; it was left as it is."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Your PATH could not be changed. To use checksums-cli in a console, add this folder to it yourself:$\r$\n$INSTDIR" /SD IDOK
  ${EndIf}
FunctionEnd

; An earlier installation, of any version, is taken away by its own uninstaller, run in place
; so that it finishes before the files are written; the uninstaller itself, and the folders that
; installation made, are left to us.
Function RemoveEarlierInstallation
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  ReadRegDWORD $1 HKCU "${UNINSTALL_KEY}" "${MADE_INSTALL_FOLDER}"
  ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "${MADE_PARENT_FOLDER}"
  DetailPrint "Removing the installation in $0 first"
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $3
  ${If} $3 != 0
    MessageBox MB_OK|MB_ICONSTOP "The installation in $0 could not be removed." /SD IDOK
    SetErrorLevel ${STOPPED}
    Quit
  ${EndIf}
  Delete "$0\${UNINSTALLER}"
  ${IfThen} $1 == 1 ${|} RMDir "$0" ${|}
  ${If} $2 == 1
    ${GetParent} "$0" $2
    RMDir "$2"
  ${EndIf}
FunctionEnd

Section "${PRODUCT} (required)" SECTION_PROGRAM
  SectionIn RO
  Call RemoveEarlierInstallation
  !insertmacro NOTE_KEY_IF_NEW "${UNINSTALL_PARENT}"
  ${GetParent} "$INSTDIR" $0
  !insertmacro NOTE_FOLDER_IF_NEW "$0" "${MADE_PARENT_FOLDER}"
  !insertmacro NOTE_FOLDER_IF_NEW "$INSTDIR" "${MADE_INSTALL_FOLDER}"
  SetOutPath "$INSTDIR"
  !insertmacro EACH_INSTALLED_FILE INSTALL_FILE
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Section "Explorer menu: Calculate Checksums on every file" SECTION_VERB
  !insertmacro NOTE_KEY_IF_NEW "${CLASSES}"
  !insertmacro NOTE_KEY_IF_NEW "${VERB_PARENT}"
  !insertmacro NOTE_KEY_IF_NEW "${VERB_PARENT}\shell"
  WriteRegStr HKCU "${VERB_KEY}" "" "${PRODUCT}"
  WriteRegStr HKCU "${VERB_KEY}" "Icon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${VERB_KEY}\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
SectionEnd

Section "Send To menu" SECTION_SEND_TO
  CreateShortcut "$SENDTO\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Section "Verify Checksums: sums files and a pasted digest checked in a window" SECTION_VERIFY
  File "${SOURCE}\${VERIFIER}"
  !insertmacro NOTE_KEY_IF_NEW "${CLASSES}"
  !insertmacro NOTE_KEY_IF_NEW "${VERB_PARENT}"
  !insertmacro NOTE_KEY_IF_NEW "${VERB_PARENT}\shell"
  WriteRegStr HKCU "${VERIFY_FILE_KEY}" "" "Verify checksum..."
  WriteRegStr HKCU "${VERIFY_FILE_KEY}" "Icon" "$INSTDIR\${VERIFIER},0"
  WriteRegStr HKCU "${VERIFY_FILE_KEY}\command" "" '"$INSTDIR\${VERIFIER}" "%1"'
  !insertmacro NOTE_KEY_IF_NEW "${FILE_TYPES}"
  !insertmacro EACH_SUMS_EXTENSION ADD_SUMS_VERB
  CreateShortcut "$SENDTO\${VERIFIER_SHORTCUT}" "$INSTDIR\${VERIFIER}"
  CreateShortcut "$SMPROGRAMS\${VERIFIER_SHORTCUT}" "$INSTDIR\${VERIFIER}"
  !insertmacro NOTE_KEY_IF_NEW "${FOLDER_PARENT}"
  !insertmacro NOTE_KEY_IF_NEW "${FOLDER_PARENT}\shell"
  WriteRegStr HKCU "${CREATE_FOLDER_KEY}" "" "Create checksums file..."
  WriteRegStr HKCU "${CREATE_FOLDER_KEY}" "Icon" "$INSTDIR\${VERIFIER},0"
  WriteRegStr HKCU "${CREATE_FOLDER_KEY}\command" "" '"$INSTDIR\${VERIFIER}" --create "%1"'
  CreateShortcut "$SENDTO\${CREATE_SHORTCUT}" "$INSTDIR\${VERIFIER}" "--create"
  CreateShortcut "$SMPROGRAMS\${CREATE_SHORTCUT}" "$INSTDIR\${VERIFIER}" "--create"
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
  !insertmacro MUI_DESCRIPTION_TEXT ${SECTION_VERIFY} "Verify Checksums, in the Start menu and Send To: right-click a sums file (.sha256, .md5, ...) and choose Verify checksums, or any file and Verify checksum... (on Windows 11 under Show more options)."
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
  !insertmacro LEAVE_OUT_WHEN_ASKED "/NOVERIFY" ${SECTION_VERIFY}
  !insertmacro UNPACK_HELPER
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    !insertmacro STOP_WHILE_RUNNING "$0"
  ${EndIf}
  !insertmacro STOP_WHILE_RUNNING "$INSTDIR"
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro UNPACK_HELPER
  !insertmacro STOP_WHILE_RUNNING "$INSTDIR"
FunctionEnd

Function un.RemoveFromPath
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}"
  ${IfThen} $1 == "" ${|} Return ${|}
  ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "${PATH_CREATED_VALUE}"
  !insertmacro QUOTED_ARGUMENT "$1" $3
  ${IfThen} $2 == 1 ${|} StrCpy $3 "$3 created" ${|}
  !insertmacro RUN_HELPER "remove-path $3" $0
  ; Taken out, or not there to take out; any other answer, or none, left it where it was.
  ${If} $0 != ${PATH_CHANGED}
  ${AndIf} $0 != ${PATH_UNCHANGED}
    DetailPrint "$1 could not be taken off your PATH; it was left as it is."
    MessageBox MB_OK|MB_ICONEXCLAMATION "$1 could not be taken off your PATH. Remove it from there yourself." /SD IDOK
  ${EndIf}
FunctionEnd

; Keys and folders are taken away only when the installation made them and they are left empty.
Section "Uninstall"
  Call un.RemoveFromPath
  DeleteRegKey HKCU "${VERB_KEY}"
  DeleteRegKey HKCU "${VERIFY_FILE_KEY}"
  DeleteRegKey HKCU "${CREATE_FOLDER_KEY}"
  !insertmacro REMOVE_KEY_IF_MADE "${FOLDER_PARENT}\shell"
  !insertmacro REMOVE_KEY_IF_MADE "${FOLDER_PARENT}"
  !insertmacro EACH_SUMS_EXTENSION REMOVE_SUMS_VERB
  !insertmacro REMOVE_KEY_IF_MADE "${FILE_TYPES}"
  !insertmacro REMOVE_KEY_IF_MADE "${VERB_PARENT}\shell"
  !insertmacro REMOVE_KEY_IF_MADE "${VERB_PARENT}"
  !insertmacro REMOVE_KEY_IF_MADE "${CLASSES}"
  Delete "$SENDTO\${SHORTCUT}"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$SENDTO\${VERIFIER_SHORTCUT}"
  Delete "$SMPROGRAMS\${VERIFIER_SHORTCUT}"
  Delete "$SENDTO\${CREATE_SHORTCUT}"
  Delete "$SMPROGRAMS\${CREATE_SHORTCUT}"
  Delete "$INSTDIR\${VERIFIER}"
  !insertmacro EACH_INSTALLED_FILE REMOVE_FILE
  Delete "$INSTDIR\${UNINSTALLER}"
  !insertmacro REMOVE_FOLDERS_IF_MADE "$INSTDIR"
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "${MADE_KEY}${UNINSTALL_PARENT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${IfThen} $0 == 1 ${|} DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${UNINSTALL_PARENT}" ${|}
SectionEnd
