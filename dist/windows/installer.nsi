; The Windows installer, VibralonSetup.exe: vibralon.exe and help\guide.htm in
; Program Files\Vibralon, a Start-menu shortcut that starts the program in that folder (where
; its help button finds help\guide.htm), and an uninstaller listed in Add/Remove Programs.
; Silent with /S. Built by the Windows build, which passes:
;   makensis -DVERSION=x.y.z -DPROGRAM=vibralon.exe -DGUIDE=guide.htm -DICON=MAINICON.ico
;            -DOUTFILE=VibralonSetup.exe installer.nsi
Unicode true
; 64-bit: the program is, and so is the Program Files it goes to.
Target amd64-unicode

!define APP_NAME "Vibralon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vibralon"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP_NAME}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP_NAME} guitar tuner installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${APP_NAME}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${APP_NAME} developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Vibralon"
    SetOutPath "$INSTDIR"
    File "/oname=vibralon.exe" "${PROGRAM}"
    SetOutPath "$INSTDIR\help"
    File "/oname=guide.htm" "${GUIDE}"
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
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$INSTDIR\help\guide.htm"
    RMDir "$INSTDIR\help"
    Delete "$INSTDIR\vibralon.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
