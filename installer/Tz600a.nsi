; Tz600a-setup.exe and Tz600a-setup-x64.exe, the installers of the camera's
; TWAIN data source for 32-bit and for 64-bit Windows. makensis builds them
; from the build's files; installer/CMakeLists.txt passes their folders
; (BIN32_DIR, the 32-bit build's; BIN64_DIR, the 64-bit build's, which makes
; the 64-bit installer; DATA_DIR, SIM_DIR), the icon (ICON) and OUTFILE.
;
;   Tz600a-setup.exe [/S] [/SIMULATEDCAMERA] [/D=FOLDER]
;   Tz600a-setup-x64.exe [/S] [/SIMULATEDCAMERA | /SIMULATEDCAMERA32] [/D=FOLDER]
;
; /S installs silently, /SIMULATEDCAMERA chooses the component "Simulated
; camera", /SIMULATEDCAMERA32 chooses it in 32-bit only, so that 64-bit
; programs reach it through the camera library bridge, /D the folder of the
; uninstaller and the tools. Exit codes: 0
; installed; 2 not installed (another copy runs, a running program keeps a
; file loaded that the install would replace, or the user cancelled); 3
; installed, but the local Users group could not be granted its rights or
; the capture filter could not be registered (a message box says which).
; What the installer tells the user it also writes to its standard output,
; where a silent install run from a script leaves it in the script's log.
;
; The 64-bit installer puts the 32-bit source where 32-bit applications find
; it and the 64-bit source where 64-bit applications find it, the latter only
; where 64-bit programs can reach the camera library: a 64-bit one in the
; 64-bit system folder, or else the camera maker's 32-bit one through the
; bridge, a 64-bit DSCLINK.dll that carries each call to DscLinkHost.exe in
; the 32-bit system folder. Both sources share the INI files, the data
; folder and the camera library's INI file.
;
; The uninstaller's exit code is 2 when files in use stayed behind; it then
; stays installed, with its entry, to be run again.

!ifdef BIN64_DIR
    Target amd64-unicode
!else
    Unicode true
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be written stops the install instead of being skipped,
; so that an install never reports success over an old file.
AllowSkipFiles off

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh
!include TextFunc.nsh

!ifdef BIN64_DIR
    ; What the 64-bit system folder's DSCLINK.dll is (IdentifyCameraLibrary64),
    ; then what this install makes of it.
    Var CameraLibrary64
    ; 1 when /SIMULATEDCAMERA32 simulates the camera in 32-bit only.
    Var Simulated32Only
!endif

!getdllversion "${BIN32_DIR}/Tz600a.ds" VERSION_
!define VERSION "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tz600a"
!define DRIVERS32_KEY "Software\Microsoft\Windows NT\CurrentVersion\Drivers32"
; The source's folder: the Windows TWAIN folder and the maker folder the
; source forms its transfer file names with. The 64-bit source keeps its data
; there too.
!define SOURCE_FOLDER "$WINDIR\twain_32\tz600a"
; The local Users group, by its well-known SID, so that it is found whatever
; the system's language names it.
!define USERS "*S-1-5-32-545"
!ifdef BIN64_DIR
    ; The TWAIN folder of 64-bit applications, which holds only the 64-bit
    ; source itself.
    !define SOURCE64_FOLDER "$WINDIR\twain_64\tz600a"
    ; The 32-bit system folder of 64-bit Windows, and the 32-bit tools beside
    ; the 64-bit ones.
    !define SYSDIR32 "$WINDIR\SysWOW64"
    !define TOOLS32 "$INSTDIR\32-bit"
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else
    !define SYSDIR32 "$SYSDIR"
    !define TOOLS32 "$INSTDIR"
    !define PROGRAM_FILES "$PROGRAMFILES"
!endif

Name "Ardenza ZC600A camera TWAIN source"
BrandingText "Ardenza"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Ardenza\Tz600a"
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
LangString FilesInUseNotInstalled ${LANG_ENGLISH} "Nothing was installed: these files are in \
use and could not be replaced. Close the programs that use the camera, then run the setup again:"
!ifdef BIN64_DIR
LangString BothSources ${LANG_ENGLISH} "Installed the 32-bit source into ${SOURCE_FOLDER} for \
32-bit applications and the 64-bit source into ${SOURCE64_FOLDER} for 64-bit applications."
LangString Only32BitSource ${LANG_ENGLISH} "Installed the 32-bit source into ${SOURCE_FOLDER} \
for 32-bit applications, but not the 64-bit source: it needs the camera's 64-bit library \
$SYSDIR\DSCLINK.dll, or its 32-bit library and a Windows that runs 32-bit programs, and \
neither is there. Install the camera's driver, or choose the component $\"Simulated \
camera$\", then run this setup again."
LangString ThroughBridge ${LANG_ENGLISH} "64-bit applications reach the camera through the \
32-bit camera library: the bridge $SYSDIR\DSCLINK.dll carries their calls to \
${SYSDIR32}\DscLinkHost.exe, which makes them in the camera maker's 32-bit DSCLINK.dll."
LangString NoTwainDsm ${LANG_ENGLISH} "64-bit applications reach TWAIN sources only through the \
TWAIN 2 Source Manager $SYSDIR\TWAINDSM.DLL, which Windows does not ship and which is \
missing: the TWAIN Working Group's installer of the TWAIN DSM provides it."
LangString No32BitPrograms ${LANG_ENGLISH} "This Windows runs no 32-bit programs: the 32-bit \
video capture filter was not registered."
!endif

; Writes a line to the installer's standard output, which a program started
; without one does not have.
!macro PrintLine text
    Push $0
    Push $1
    StrCpy $1 "${text}"
    System::Call 'kernel32::GetStdHandle(i -11) p .r0'
    FileWrite $0 "$1$\r$\n"
    Pop $1
    Pop $0
!macroend

; Tells the user in a message box; a silent install writes it only to the
; standard output.
!macro Tell icon text
    MessageBox MB_OK|${icon} "${text}" /SD IDOK
    !insertmacro PrintLine "${text}"
!macroend

; Adds a line to the installer's details and to the standard output.
!macro Report text
    DetailPrint "${text}"
    !insertmacro PrintLine "${text}"
!macroend

; An installer and an uninstaller never run at once: the second copy stops.
!macro RefuseSecondCopy
    System::Call 'kernel32::CreateMutex(p 0, i 0, t "Tz600a-setup") p .r0 ?e'
    Pop $1
    ${If} $1 = 183 ; ERROR_ALREADY_EXISTS
        !insertmacro Tell MB_ICONSTOP "The Tz600a setup is already running."
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

; Notes in $R9 a file of ours that a running program keeps loaded: Windows
; lets no one write to it, so it cannot be replaced either.
!macro NoteInUse path
    ${If} ${FileExists} "${path}"
        ClearErrors
        FileOpen $0 "${path}" a
        ${If} ${Errors}
            StrCpy $R9 "$R9$\r$\n${path}"
        ${Else}
            FileClose $0
        ${EndIf}
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

; Notes in the uninstall entry that the install makes a TWAIN folder, which
; the uninstaller then removes once it is empty; a folder that was there
; before stays.
!macro NoteMadeFolder folder value
    ${IfNot} ${FileExists} "${folder}\*.*"
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${value}" 1
    ${EndIf}
!macroend

!macro RemoveMadeFolder folder value
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${value}"
    ${If} $0 = 1
        RMDir "${folder}"
    ${EndIf}
!macroend

; Sets $0 to the internal name in the file's version record, or to "".
!macro InternalNameOf path
    Push $1
    Push $2
    Push $3
    Push $4
    StrCpy $0 ""
    System::Call 'version::GetFileVersionInfoSize(t "${path}", p 0) i .r1'
    ${If} $1 > 0
        System::Alloc $1
        Pop $2
        System::Call 'version::GetFileVersionInfo(t "${path}", i 0, i r1, p r2) i .r3'
        ${If} $3 <> 0
            System::Call 'version::VerQueryValue(p r2, t "\StringFileInfo\040904b0\InternalName", \
                          *p .r3, *i .r4) i .r1'
            ${If} $1 <> 0
                System::Call '*$3(&t$4 .r0)'
            ${EndIf}
        ${EndIf}
        System::Free $2
    ${EndIf}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
!macroend

; The programs and libraries of the simulated camera, which a running
; program may keep loaded, each given to the macro named.
!macro SimulatedCameraModules action
    !insertmacro ${action} "$WINDIR\DSCLINK.dll"
    !insertmacro ${action} "${SYSDIR32}\zx600cap.ax"
    !insertmacro ${action} "${SYSDIR32}\i420dec.dll"
    !insertmacro ${action} "${TOOLS32}\acquire.exe"
    !insertmacro ${action} "${TOOLS32}\camera.exe"
    !insertmacro ${action} "${TOOLS32}\TWAIN_32.DLL"
    !ifdef BIN64_DIR
        !insertmacro ${action} "$SYSDIR\zx600cap.ax"
        !insertmacro ${action} "$SYSDIR\i420dec.dll"
        !insertmacro ${action} "$INSTDIR\acquire.exe"
        !insertmacro ${action} "$INSTDIR\camera.exe"
        !insertmacro ${action} "$INSTDIR\TWAINDSM.DLL"
    !endif
!macroend

; The video stand-ins of one architecture into its system folder: the
; capture filter, registered by the regsvr32 of that architecture into its
; registry view, and the I420 decompressor, named in the Drivers32 key of
; that view where Windows has none of its own (Wine has none).
!macro InstallVideoStandIns bin folder view
    SetOutPath "${folder}"
    File "${bin}/zx600cap.ax"
    File "${bin}/i420dec.dll"
    nsExec::ExecToStack '"${folder}\regsvr32.exe" /s "${folder}\zx600cap.ax"'
    Pop $0
    Pop $1
    ${If} $0 != 0
        !insertmacro Tell MB_ICONEXCLAMATION "$(FilterNotRegistered)"
        SetErrorLevel 3
    ${EndIf}
    SetRegView ${view}
    ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "vidc.I420"
    ${If} $0 == ""
        WriteRegStr HKLM "${DRIVERS32_KEY}" "vidc.I420" "i420dec.dll"
    ${EndIf}
    SetRegView default
!macroend

!macro RemoveVideoStandIns folder view
    nsExec::Exec '"${folder}\regsvr32.exe" /u /s "${folder}\zx600cap.ax"'
    Pop $0
    SetRegView ${view}
    ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "vidc.I420"
    ${If} $0 == "i420dec.dll"
        DeleteRegValue HKLM "${DRIVERS32_KEY}" "vidc.I420"
    ${EndIf}
    SetRegView default
!macroend

Section "-Files in use"
    Call RefuseFilesInUse
SectionEnd

Section "Tz600a data source" SecSource
    SectionIn RO
    ; SetOutPath creates the TWAIN folder when Windows lacks it.
    !insertmacro NoteMadeFolder "$WINDIR\twain_32" "MadeTwain32Folder"
    SetOutPath "${SOURCE_FOLDER}"
    File "${BIN32_DIR}/Tz600a.ds"
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
; our Source Manager beside them (the system's own stays where it is). The
; 64-bit installer adds the 64-bit ones around the same storage; 64-bit
; programs find the 64-bit camera library in the 64-bit system folder before
; the Windows folder, where 32-bit programs find the 32-bit one. With
; /SIMULATEDCAMERA32 the camera is simulated in 32-bit only, and 64-bit
; programs reach it through the bridge; the 64-bit tools come all the same.
Section /o "Simulated camera" SecSimulated
    SetOutPath "$WINDIR"
    File "${BIN32_DIR}/camera/DSCLINK.dll"
    SetOutPath "${SOURCE_FOLDER}"
    File "${SIM_DIR}/DSCLINK.INI"
    SetOutPath "${SOURCE_FOLDER}\Camera"
    File "${SIM_DIR}/storage/*"
!ifdef BIN64_DIR
    ; A 64-bit Windows without its 32-bit subsystem has no 32-bit regsvr32.
    ${If} ${FileExists} "${SYSDIR32}\regsvr32.exe"
        !insertmacro InstallVideoStandIns "${BIN32_DIR}" "${SYSDIR32}" 32
    ${Else}
        !insertmacro Report "$(No32BitPrograms)"
    ${EndIf}
!else
    !insertmacro InstallVideoStandIns "${BIN32_DIR}" "${SYSDIR32}" 32
!endif
    SetOutPath "${TOOLS32}"
    File "${BIN32_DIR}/acquire.exe"
    File "${BIN32_DIR}/camera.exe"
    File "${BIN32_DIR}/TWAIN_32.DLL"
!ifdef BIN64_DIR
    ${If} $Simulated32Only = 1
        ; What an earlier install simulated in 64-bit goes.
        ${If} $CameraLibrary64 == "simulated"
            Delete "$SYSDIR\DSCLINK.dll"
            StrCpy $CameraLibrary64 ""
        ${EndIf}
        !insertmacro RemoveVideoStandIns "$SYSDIR" 64
        Delete "$SYSDIR\zx600cap.ax"
        Delete "$SYSDIR\i420dec.dll"
    ${Else}
        ; A camera maker's 64-bit library is never overwritten.
        ${If} $CameraLibrary64 != "maker"
            SetOutPath "$SYSDIR"
            File "${BIN64_DIR}/camera/DSCLINK.dll"
            StrCpy $CameraLibrary64 "simulated"
        ${EndIf}
        !insertmacro InstallVideoStandIns "${BIN64_DIR}" "$SYSDIR" 64
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "${BIN64_DIR}/acquire.exe"
    File "${BIN64_DIR}/camera.exe"
    File "${BIN64_DIR}/TWAINDSM.DLL"
!endif
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "SimulatedCamera" 1
SectionEnd

!ifdef BIN64_DIR
; The 64-bit source only where 64-bit programs reach a camera library: a
; 64-bit one (the maker's, or the simulated camera's just installed), or
; else the maker's 32-bit one through the bridge, where Windows runs 32-bit
; programs. Without either it could not be loaded, and one that an earlier
; install left goes, with the bridge.
Section "-64-bit data source"
    ; Where 32-bit programs find the camera library: the 32-bit system
    ; folder, then the Windows folder.
    StrCpy $R6 0
    ${If} ${FileExists} "${SYSDIR32}\kernel32.dll"
        ${If} ${FileExists} "${SYSDIR32}\DSCLINK.dll"
        ${OrIf} ${FileExists} "$WINDIR\DSCLINK.dll"
            StrCpy $R6 1
        ${EndIf}
    ${EndIf}
    ${If} $CameraLibrary64 == "maker"
    ${OrIf} $CameraLibrary64 == "simulated"
        Delete "${SYSDIR32}\DscLinkHost.exe"
        Call Install64BitSource
    ${ElseIf} $R6 = 1
        SetOutPath "$SYSDIR"
        File "${BIN64_DIR}/bridge/DSCLINK.dll"
        SetOutPath "${SYSDIR32}"
        File "${BIN32_DIR}/DscLinkHost.exe"
        Call Install64BitSource
        !insertmacro Report "$(ThroughBridge)"
    ${Else}
        ${If} $CameraLibrary64 == "bridge"
            Delete "$SYSDIR\DSCLINK.dll"
        ${EndIf}
        Delete "${SYSDIR32}\DscLinkHost.exe"
        Delete "${SOURCE64_FOLDER}\Tz600a.ds"
        RMDir "${SOURCE64_FOLDER}"
        !insertmacro Tell MB_ICONINFORMATION "$(Only32BitSource)"
    ${EndIf}
    ${If} ${FileExists} "${SOURCE64_FOLDER}\Tz600a.ds"
    ${AndIfNot} ${FileExists} "$SYSDIR\TWAINDSM.DLL"
        !insertmacro Report "$(NoTwainDsm)"
    ${EndIf}
SectionEnd

Function Install64BitSource
    !insertmacro NoteMadeFolder "$WINDIR\twain_64" "MadeTwain64Folder"
    SetOutPath "${SOURCE64_FOLDER}"
    File "${BIN64_DIR}/Tz600a.ds"
    !insertmacro Report "$(BothSources)"
FunctionEnd

; Sets $R7 to what the 64-bit system folder's DSCLINK.dll is, by the
; internal name in its version record: "bridge", "simulated" (the simulated
; camera's), "maker" (the camera maker's), or "" (none). The simulated
; camera of earlier versions had no version record; an install that
; recorded the simulated camera put it there.
!macro IdentifyCameraLibrary64
    StrCpy $R7 ""
    ${If} ${FileExists} "$SYSDIR\DSCLINK.dll"
        StrCpy $R7 "maker"
        !insertmacro InternalNameOf "$SYSDIR\DSCLINK.dll"
        ReadRegDWORD $2 HKLM "${UNINSTALL_KEY}" "SimulatedCamera"
        ${If} $0 == "DscLinkBridge"
            StrCpy $R7 "bridge"
        ${ElseIf} $0 == "DscLinkSimulated"
            StrCpy $R7 "simulated"
        ${ElseIf} $0 == ""
        ${AndIf} $2 = 1
            StrCpy $R7 "simulated"
        ${EndIf}
    ${EndIf}
!macroend

Function IdentifyCameraLibrary64
    !insertmacro IdentifyCameraLibrary64
    StrCpy $CameraLibrary64 $R7
FunctionEnd

Function un.IdentifyCameraLibrary64
    !insertmacro IdentifyCameraLibrary64
FunctionEnd
!endif

; The camera library writes the transfer files into the source's folder and
; negotiation writes the capability file, both under the Windows folder,
; where a standard user may not write since Windows Vista.
Section "-Rights of standard users"
    StrCpy $R9 ""
    !insertmacro GrantUsersModify "${SOURCE_FOLDER}" "(OI)(CI)M"
    !insertmacro GrantUsersModify "$WINDIR\Tz600a.src" "M"
    !insertmacro GrantUsersModify "$WINDIR\Tz600a.ini" "M"
    ${If} $R9 != ""
        !insertmacro Tell MB_ICONEXCLAMATION "$(GrantFailed)$R9"
        SetErrorLevel 3
    ${EndIf}
SectionEnd

; An install over files that a running program keeps loaded would leave the
; old files beside the new ones: it stops before it changes anything and
; names them.
Function RefuseFilesInUse
    StrCpy $R9 ""
    !insertmacro NoteInUse "${SOURCE_FOLDER}\Tz600a.ds"
!ifdef BIN64_DIR
    !insertmacro NoteInUse "${SOURCE64_FOLDER}\Tz600a.ds"
    !insertmacro NoteInUse "${SYSDIR32}\DscLinkHost.exe"
    ${If} $CameraLibrary64 == "bridge"
    ${OrIf} $CameraLibrary64 == "simulated"
        !insertmacro NoteInUse "$SYSDIR\DSCLINK.dll"
    ${EndIf}
!endif
    ${If} ${SectionIsSelected} ${SecSimulated}
        !insertmacro SimulatedCameraModules NoteInUse
    ${EndIf}
    ${If} $R9 != ""
        !insertmacro Tell MB_ICONSTOP "$(FilesInUseNotInstalled)$R9"
        SetErrorLevel 2
        Abort "Files in use were not replaced."
    ${EndIf}
FunctionEnd

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
    ; /SIMULATEDCAMERA32 is /SIMULATEDCAMERA with "32" behind it.
    ${GetOptions} $0 "/SIMULATEDCAMERA" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecSimulated}
    ${EndIf}
!ifdef BIN64_DIR
    StrCpy $Simulated32Only 0
    ${If} $1 == "32"
        StrCpy $Simulated32Only 1
    ${EndIf}
    Call IdentifyCameraLibrary64
!endif
FunctionEnd

Function un.onInit
    !insertmacro RefuseSecondCopy
FunctionEnd

Section "Uninstall"
    StrCpy $R9 ""
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SimulatedCamera"
    ${If} $0 = 1
        !insertmacro RemoveVideoStandIns "${SYSDIR32}" 32
!ifdef BIN64_DIR
        !insertmacro RemoveVideoStandIns "$SYSDIR" 64
!endif
        !insertmacro SimulatedCameraModules RemoveFile
        !insertmacro RemoveFile "${SOURCE_FOLDER}\DSCLINK.INI"
        RMDir /r "${SOURCE_FOLDER}\Camera"
        !insertmacro NoteLeftover "${SOURCE_FOLDER}\Camera"
!ifdef BIN64_DIR
        RMDir "${TOOLS32}"
!endif
    ${EndIf}
    !insertmacro RemoveFile "${SOURCE_FOLDER}\Tz600a.ds"
    !insertmacro RemoveFile "${SOURCE_FOLDER}\TWIMG600_*.bmp"
    RMDir "${SOURCE_FOLDER}"
    !insertmacro RemoveMadeFolder "$WINDIR\twain_32" "MadeTwain32Folder"
!ifdef BIN64_DIR
    Call un.IdentifyCameraLibrary64
    ${If} $R7 == "bridge"
    ${OrIf} $R7 == "simulated"
        !insertmacro RemoveFile "$SYSDIR\DSCLINK.dll"
    ${EndIf}
    !insertmacro RemoveFile "${SYSDIR32}\DscLinkHost.exe"
    !insertmacro RemoveFile "${SOURCE64_FOLDER}\Tz600a.ds"
    RMDir "${SOURCE64_FOLDER}"
    !insertmacro RemoveMadeFolder "$WINDIR\twain_64" "MadeTwain64Folder"
!endif
    !insertmacro RemoveFile "$WINDIR\Tz600a.ini"
    !insertmacro RemoveFile "$WINDIR\Tz600a.src"
    ${If} $R9 != ""
        !insertmacro Tell MB_ICONEXCLAMATION "$(FilesInUse)$R9"
        SetErrorLevel 2
        Abort "Files in use were not removed."
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "${PROGRAM_FILES}\Ardenza"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
