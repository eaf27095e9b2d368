; The Windows installer, VibralonSetup.exe: vibralon.exe, vibralon-listen.exe (the readings in a
; console), help\guide.htm and notices.txt (the
; program's licence and those of the libraries built into it) in Program Files\Vibralon, a
; Start-menu shortcut that starts the program in that folder (where its help button finds
; help\guide.htm), and an uninstaller listed in Add/Remove Programs. Its pages: welcome, licence,
; folder, progress, finish (with "Run Vibralon"). Silent with /S. While the program runs, neither
; installing nor uninstalling goes ahead: the user is asked to close it (silent: exit code 2,
; nothing changed), when the installer starts and again just before it writes. An older version
; is uninstalled first, so one program and one entry remain.
; Built by the Windows build, which passes:
;   makensis -DVERSION=x.y.z -DPROGRAM=vibralon.exe -DLISTEN=vibralon-listen.exe
;            -DGUIDE=guide.htm -DICON=MAINICON.ico
;            -DLICENSE=LICENSE -DNOTICES=notices.txt -DOUTFILE=VibralonSetup.exe installer.nsi
Unicode true
; 64-bit: the program is, and so is the Program Files it goes to.
Target amd64-unicode

!define APP_NAME "Vibralon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vibralon"

!include MUI2.nsh
!include FileFunc.nsh

; The version shows in every page's title and on the welcome and finish pages.
Name "${APP_NAME} ${VERSION}"
BrandingText "${APP_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP_NAME}"
; An upgrade goes where the version before it is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; Sharp pages on screens above 100 %.
ManifestDPIAware true
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${APP_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP_NAME} guitar tuner installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${APP_NAME}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${APP_NAME} developers"

; A running program keeps its files: installing or uninstalling then would leave a broken half
; behind. Its window, or the hidden window it has from start-up on (message-only, hence
; HWND_MESSAGE), tells that it runs; the user closes it and retries, or cancels.
!macro WaitUntilClosed WHAT
    running:
    FindWindow $0 "VibralonForm"
    StrCmp $0 0 0 +2
    FindWindow $0 "VibralonUiWaker" "" -3
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${APP_NAME} is running. Close it, then choose Retry to ${WHAT} it." \
        /SD IDCANCEL IDRETRY running
    Abort
    closed:
!macroend

Function .onInit
    SetRegView 64
    SetShellVarContext all
    !insertmacro WaitUntilClosed install
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    !insertmacro WaitUntilClosed uninstall
FunctionEnd

; The installer runs with administrator rights; the program must not. The shell (explorer, which
; runs as the logged-in user) opens the Start-menu shortcut, which starts the program in the
; install folder, where its help button finds the guide.
Function RunProgram
    Exec '"$WINDIR\explorer.exe" "$SMPROGRAMS\${APP_NAME}.lnk"'
FunctionEnd

; The version installed before, uninstalled in place by its own uninstaller (which then stays
; behind, and goes here): its files, shortcut and entry go, wherever it was installed. If it
; refuses (the program was started again meanwhile) or fails, it changed nothing, and the install
; stops before it writes anything: the older version stays whole, entry and uninstaller too.
Function RemoveOlderVersion
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $0 "" done
    IfFileExists "$0\uninstall.exe" 0 done
    ExecWait '"$0\uninstall.exe" /S /UPGRADE _?=$0' $1
    StrCmp $1 0 removed
    MessageBox MB_OK|MB_ICONEXCLAMATION \
        "The installed ${APP_NAME} could not be removed. Close ${APP_NAME}, then run Setup again." \
        /SD IDOK
    SetErrorLevel 2
    Abort
    removed:
    Delete "$0\uninstall.exe"
    RMDir "$0"
    done:
FunctionEnd

Section "Vibralon"
    ; The program may have been started while the pages were open.
    !insertmacro WaitUntilClosed install
    Call RemoveOlderVersion
    SetOutPath "$INSTDIR"
    File "/oname=vibralon.exe" "${PROGRAM}"
    File "/oname=vibralon-listen.exe" "${LISTEN}"
    SetOutPath "$INSTDIR\help"
    File "/oname=guide.htm" "${GUIDE}"
    SetOutPath "$INSTDIR"
    File "/oname=notices.txt" "${NOTICES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; A shortcut's working folder is the output path when it is made.
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\vibralon.exe" "" \
        "$INSTDIR\vibralon.exe" 0 "" "" "Guitar tuner"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APP_NAME} developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vibralon.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    ; In place (_?=), so that whoever runs it gets its outcome as its exit code: an uninstaller run
    ; without it returns at once, from a copy of itself that does the work.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; Add/Remove Programs shows this size, in KiB.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$INSTDIR\help\guide.htm"
    RMDir "$INSTDIR\help"
    Delete "$INSTDIR\notices.txt"
    Delete "$INSTDIR\vibralon.exe"
    Delete "$INSTDIR\vibralon-listen.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Run in place, this uninstaller cannot delete itself: unless a newer version's installer runs
    ; it (and removes it itself), it runs itself the usual way, from a copy in the temporary
    ; folder, which removes it and the folder once this one has ended.
    StrCmp $EXEDIR $INSTDIR 0 removeSelf
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/UPGRADE" $1
    IfErrors 0 done
    Exec '"$INSTDIR\uninstall.exe" /S'
    Goto done
    removeSelf:
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    done:
SectionEnd
