; Tz600a-setup.exe, the installer of the camera's TWAIN data source. makensis
; builds it from the build's files; installer/CMakeLists.txt passes their
; folders (BIN_DIR, DATA_DIR, SIM_DIR), the icon (ICON) and OUTFILE.
;
;   Tz600a-setup.exe [/S] [/SIMULATEDCAMERA] [/D=FOLDER]
;
; /S installs silently, /SIMULATEDCAMERA chooses the component "Simulated
; camera", /D the folder of the uninstaller and the tools. Exit codes: 0
; installed; 2 not installed (another copy runs, or the user cancelled); 3
; installed, but the local Users group could not be granted its rights or
; the capture filter could not be registered (a message box says which).
;
; The uninstaller's exit code is 2 when files in use stayed behind; it then
; stays installed, with its entry, to be run again.

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh
!include TextFunc.nsh

!getdllversion "${BIN_DIR}/Tz600a.ds" VERSION_
!define VERSION "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tz600a"
!define DRIVERS32_KEY "Software\Microsoft\Windows NT\CurrentVersion\Drivers32"
; The source's folder: the Windows TWAIN folder and the maker folder the
; source forms its transfer file names with.
!define SOURCE_FOLDER "$WINDIR\twain_32\tz600a"
; The local Users group, by its well-known SID, so that it is found whatever
; the system's language names it.
!define USERS "*S-1-5-32-545"

Name "Ardenza ZC600A camera TWAIN source"
BrandingText "Ardenza"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Ardenza\Tz600a"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Tz600a camera TWAIN source"
VIAddVersionKey "CompanyName" "Ardenza"
VIAddVersionKey "FileDescription" "Tz600a camera TWAIN source setup"
VIAddVersionKey "LegalCopyright" "Ardenza"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

LangString GrantFailed ${LANG_ENGLISH} "The local Users group could not be allowed to change \
these, so a standard user may be unable to upload pictures or to keep negotiated values:"
LangString FilterNotRegistered ${LANG_ENGLISH} "The video capture filter could not be registered."
LangString FilesInUse ${LANG_ENGLISH} "These files are in use and were not removed. Close the \
programs that use the camera, then run the uninstaller again:"

; An installer and an uninstaller never run at once: the second copy stops.
!macro RefuseSecondCopy
    System::Call 'kernel32::CreateMutex(p 0, i 0, t "Tz600a-setup") p .r0 ?e'
    Pop $1
    ${If} $1 = 183 ; ERROR_ALREADY_EXISTS
        MessageBox MB_OK|MB_ICONSTOP "The Tz600a setup is already running." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

; Grants the local Users group modify rights on a file or folder with icacls;
; a failure is added to $R9 with icacls's answer.
!macro GrantUsersModify path rights
    nsExec::ExecToStack '"$SYSDIR\icacls.exe" "${path}" /grant ${USERS}:${rights}'
    Pop $0
    Pop $1
    ${If} $0 != 0
        DetailPrint "icacls ${path}: $0 $1"
        StrCpy $R9 "$R9$\r$\n${path}: $1"
    ${EndIf}
!macroend

; Writes a value into the new capability file where it has the key.
!macro CarryValue section key value
    ClearErrors
    ReadINIStr $R7 "$WINDIR\Tz600a.src" ${section} ${key}
    ${IfNot} ${Errors}
        WriteINIStr "$WINDIR\Tz600a.src" ${section} ${key} ${value}
    ${EndIf}
!macroend

; Notes in $R9 a file, folder or pattern of ours that is still there: a file
; that an application keeps loaded cannot be removed.
!macro NoteLeftover path
    ${If} ${FileExists} "${path}"
        StrCpy $R9 "$R9$\r$\n${path}"
    ${EndIf}
!macroend

!macro RemoveFile path
    Delete "${path}"
    !insertmacro NoteLeftover "${path}"
!macroend

Section "Tz600a data source" SecSource
    SectionIn RO
    ; SetOutPath creates the TWAIN folder when Windows lacks it.
    SetOutPath "${SOURCE_FOLDER}"
    File "${BIN_DIR}/Tz600a.ds"
    SetOutPath "$WINDIR"
    File "${DATA_DIR}/Tz600a.ini"
    Call InstallCapabilityFile
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(^Name)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ardenza"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Stand-ins for trying the source without the camera: the camera library
; with a storage of a few stills, a clip and a sound, the camera's video
; capture filter, an I420 decompressor, and acquire.exe and camera.exe with
; our Source Manager beside them (the system's own stays where it is).
Section /o "Simulated camera" SecSimulated
    SetOutPath "$WINDIR"
    File "${BIN_DIR}/DSCLINK.dll"
    SetOutPath "${SOURCE_FOLDER}"
    File "${SIM_DIR}/DSCLINK.INI"
    SetOutPath "${SOURCE_FOLDER}\Camera"
    File "${SIM_DIR}/storage/*"
    SetOutPath "$SYSDIR"
    File "${BIN_DIR}/zx600cap.ax"
    File "${BIN_DIR}/i420dec.dll"
    ClearErrors
    RegDLL "$SYSDIR\zx600cap.ax"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(FilterNotRegistered)" /SD IDOK
        SetErrorLevel 3
    ${EndIf}
    ; Windows has an I420 decompressor of its own, which stays; Wine has none.
    ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "vidc.I420"
    ${If} $0 == ""
        WriteRegStr HKLM "${DRIVERS32_KEY}" "vidc.I420" "i420dec.dll"
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "${BIN_DIR}/acquire.exe"
    File "${BIN_DIR}/camera.exe"
    File "${BIN_DIR}/TWAIN_32.DLL"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "SimulatedCamera" 1
SectionEnd

; The camera library writes the transfer files into the source's folder and
; negotiation writes the capability file, both under the Windows folder,
; where a standard user may not write since Windows Vista.
Section "-Rights of standard users"
    StrCpy $R9 ""
    !insertmacro GrantUsersModify "${SOURCE_FOLDER}" "(OI)(CI)M"
    !insertmacro GrantUsersModify "$WINDIR\Tz600a.src" "M"
    !insertmacro GrantUsersModify "$WINDIR\Tz600a.ini" "M"
    ${If} $R9 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(GrantFailed)$R9" /SD IDOK
        SetErrorLevel 3
    ${EndIf}
SectionEnd

; An install over an earlier one keeps the values that applications have
; negotiated, as the source keeps them from one session to the next; all
; else comes from this version. A capability counts as negotiated when its
; current value differs from its default or its allowed values from its
; power-on values (a reset makes them equal again); its Current, Default and
; Allowed are then carried into the new file where the new file has them.
Function InstallCapabilityFile
    InitPluginsDir
    ${If} ${FileExists} "$WINDIR\Tz600a.src"
        CopyFiles /SILENT "$WINDIR\Tz600a.src" "$PLUGINSDIR\earlier.src"
    ${EndIf}
    File "${DATA_DIR}/Tz600a.src"
    ClearErrors
    FileOpen $R0 "$PLUGINSDIR\earlier.src" r
    ${IfNot} ${Errors}
        ${Do}
            ClearErrors
            FileRead $R0 $R1
            ${If} ${Errors}
                ${ExitDo}
            ${EndIf}
            ${TrimNewLines} $R1 $R1
            StrCpy $R2 $R1 1
            ${If} $R2 == "["
                StrCpy $R2 $R1 -1 1
                Push $R2
                Call CarryNegotiatedValues
            ${EndIf}
        ${Loop}
        FileClose $R0
    ${EndIf}
FunctionEnd

; The section named on the stack, from the earlier capability file into the
; new one.
Function CarryNegotiatedValues
    Exch $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    ReadINIStr $R3 "$PLUGINSDIR\earlier.src" $R2 "Current"
    ReadINIStr $R4 "$PLUGINSDIR\earlier.src" $R2 "Default"
    ReadINIStr $R5 "$PLUGINSDIR\earlier.src" $R2 "Allowed"
    ReadINIStr $R6 "$PLUGINSDIR\earlier.src" $R2 "PowerON"
    ${If} $R3 != $R4
    ${OrIf} $R5 != $R6
        !insertmacro CarryValue $R2 "Current" $R3
        !insertmacro CarryValue $R2 "Default" $R4
        !insertmacro CarryValue $R2 "Allowed" $R5
    ${EndIf}
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
FunctionEnd

Function .onInit
    !insertmacro RefuseSecondCopy
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SIMULATEDCAMERA" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecSimulated}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro RefuseSecondCopy
FunctionEnd

Section "Uninstall"
    StrCpy $R9 ""
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SimulatedCamera"
    ${If} $0 = 1
        UnRegDLL "$SYSDIR\zx600cap.ax"
        ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "vidc.I420"
        ${If} $0 == "i420dec.dll"
            DeleteRegValue HKLM "${DRIVERS32_KEY}" "vidc.I420"
        ${EndIf}
        !insertmacro RemoveFile "$SYSDIR\zx600cap.ax"
        !insertmacro RemoveFile "$SYSDIR\i420dec.dll"
        !insertmacro RemoveFile "$WINDIR\DSCLINK.dll"
        !insertmacro RemoveFile "${SOURCE_FOLDER}\DSCLINK.INI"
        RMDir /r "${SOURCE_FOLDER}\Camera"
        !insertmacro NoteLeftover "${SOURCE_FOLDER}\Camera"
        !insertmacro RemoveFile "$INSTDIR\acquire.exe"
        !insertmacro RemoveFile "$INSTDIR\camera.exe"
        !insertmacro RemoveFile "$INSTDIR\TWAIN_32.DLL"
    ${EndIf}
    !insertmacro RemoveFile "${SOURCE_FOLDER}\Tz600a.ds"
    !insertmacro RemoveFile "${SOURCE_FOLDER}\TWIMG600_*.bmp"
    RMDir "${SOURCE_FOLDER}"
    !insertmacro RemoveFile "$WINDIR\Tz600a.ini"
    !insertmacro RemoveFile "$WINDIR\Tz600a.src"
    ${If} $R9 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(FilesInUse)$R9" /SD IDOK
        SetErrorLevel 2
        Abort "Files in use were not removed."
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$PROGRAMFILES\Ardenza"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
