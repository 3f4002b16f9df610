; The Windows installer: Corvane for the current user only (no administrator rights), with a
; Start-menu entry and an uninstaller. Built by scripts/windows-build.sh:
;   makensis -DVERSION=2.0.0 -DDIST=<folder of the unpacked program> -DOUTFILE=<setup.exe> corvane.nsi
; The folder is the zip's layout: corvane.exe, DLLs, qt.conf, plugins\, translations\, licenses\.
Unicode true
; A 64-bit installer where NSIS has the 64-bit stubs (Debian's does; Wine here runs 64-bit
; programs only); NSIS's own Windows build has 32-bit stubs only: -DTARGET=x86-unicode.
!ifndef TARGET
    !define TARGET amd64-unicode
!endif
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Name "Corvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Corvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Section "Corvane"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r /x crvn.ini "${DIST}\*.*"
    ; The starting settings only when the player has none: an update keeps their crvn.ini.
    SetOverwrite off
    File "${DIST}\crvn.ini"
    SetOverwrite on

    CreateShortcut "$SMPROGRAMS\Corvane.lnk" "$INSTDIR\corvane.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Corvane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Corvane developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Corvane.lnk"
    ; What the installer put there; the player's crvn.ini stays, and with it the folder.
    RMDir /r "$INSTDIR\plugins"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\licenses"
    Delete "$INSTDIR\corvane.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\qt.conf"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
