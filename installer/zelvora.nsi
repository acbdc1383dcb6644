; The Windows setup program of Zelvora: installs the client and its pictures into Program Files\Zelvora,
; makes its shortcuts and registers its uninstaller. Built by installer/CMakeLists.txt, which defines
; VERSION, VERSION_QUAD, PUBLISHER, ICON, FILE_LIST (the generated macros that install and remove the files)
; and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvora"
!define UNINSTALLER "uninstall.exe"

Name "Zelvora"
OutFile "${OUTFILE}"
; Where the client's companion synthesiser is looked for too.
InstallDir "$PROGRAMFILES64\Zelvora"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Zelvora ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1036 "ProductName" "Zelvora"
VIAddVersionKey /LANG=1036 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de Zelvora"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

; Files of a running client must not be replaced or removed under it: its single-instance mutex or its main
; window tells that it runs. Silent runs cannot ask, so they end with exit code 2.
!macro CLOSE_CLIENT_FIRST
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Zelvora") p .r0'
        ${If} $0 P<> 0
            System::Call 'kernel32::CloseHandle(p r0)'
        ${Else}
            FindWindow $0 "X" "ZELVORA"
        ${EndIf}
        ${If} $0 P= 0
            ${Break}
        ${EndIf}
        ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Zelvora est en cours d'exécution.$\r$\nFermez-le, puis cliquez sur Réessayer." /SD IDCANCEL IDRETRY`
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${Loop}
!macroend

Section "Zelvora" SectionClient
    SectionIn RO
    !insertmacro CLOSE_CLIENT_FIRST
    SetShellVarContext all
    ; An earlier installation is removed by its own uninstaller, which knows its files: none is left stale.
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
    ${AndIf} ${FileExists} "$1\${UNINSTALLER}"
        ClearErrors
        ExecWait '"$1\${UNINSTALLER}" /S _?=$1' $2
        ${If} ${Errors}
        ${OrIf} $2 != 0
            MessageBox MB_ICONSTOP "La version installée de Zelvora n'a pas pu être retirée." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        Delete "$1\${UNINSTALLER}"
        RMDir "$1"
    ${EndIf}

    ; The client reads its pictures from its working directory: the shortcuts start it in this folder.
    SetOutPath "$INSTDIR"
    !insertmacro ZELVORA_INSTALL_FILES
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\Zelvora.lnk" "$INSTDIR\Zelvora.exe" "" "$INSTDIR\Zelvora.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zelvora"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zelvora.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SectionClient} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Raccourci sur le bureau" SectionDesktop
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    CreateShortcut "$DESKTOP\Zelvora.lnk" "$INSTDIR\Zelvora.exe" "" "$INSTDIR\Zelvora.exe" 0
SectionEnd

Function .onInit
    !insertmacro CLOSE_CLIENT_FIRST
    ; An update keeps the choice made at the first installation: no desktop shortcut then, none now.
    SetShellVarContext all
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
    ${AndIfNot} ${FileExists} "$DESKTOP\Zelvora.lnk"
        SectionSetFlags ${SectionDesktop} 0
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro CLOSE_CLIENT_FIRST
FunctionEnd

; Only what the setup program put there: the companion synthesiser, if installed beside, stays with its folder.
Section "Uninstall"
    SetShellVarContext all
    !insertmacro ZELVORA_REMOVE_FILES
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Zelvora.lnk"
    Delete "$DESKTOP\Zelvora.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
