; Quillbox's installer for Windows: per user, without administrator rights, in French.
; Built by scripts/windows-installer, which defines VERSION, FILES (the file list, made from the
; program's folder), ICON and OUTFILE.
;
; setup.exe /S installs silently; /STARTUP then also starts Quillbox at log-on, which an
; upgrade keeps when it was chosen before. uninstall.exe /S removes it silently.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbox"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Quillbox"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillbox"
; An upgrade goes where the copy it replaces is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quillbox ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillbox.exe"
!define MUI_WELCOMEPAGE_TEXT "Quillbox, le gestionnaire de presse-papier, va être installé pour vous seul, \
    sans droits d'administrateur.$\r$\n$\r$\nVos messages seront gardés dans votre dossier \
    %APPDATA%\Quillbox.$\r$\n$\r$\nCliquez sur Suivant pour continuer."
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Quillbox va être supprimé de votre ordinateur. Vos messages, \
    dans %APPDATA%\Quillbox, sont gardés."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductName" "Quillbox"
VIAddVersionKey /LANG=${LANG_FRENCH} "CompanyName" "tavrel"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileDescription" "Installation de Quillbox"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "LegalCopyright" "© 2026 tavrel"

; A running copy holds its files: Windows neither replaces nor removes them. Asks the user to
; quit it; in silent mode, or on Cancel, gives up before anything is changed.
!macro QuitRunningCopy
    ${Do}
        ClearErrors
        ${IfNot} ${FileExists} "$INSTDIR\quillbox.exe"
            ${Break}
        ${EndIf}
        FileOpen $0 "$INSTDIR\quillbox.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Quillbox est ouvert. Quittez-le (menu Fichier, Quitter), puis cliquez sur Recommencer." \
            /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
        Quit
    ${Loop}
!macroend

Section "Quillbox" SecProgram
    SectionIn RO
    !insertmacro QuitRunningCopy
    ; The copy replaced goes first, by its own uninstaller, so that none of its files stays
    ; behind. It never touches the messages, which are not kept here.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
        Delete "$INSTDIR\uninstall.exe"
    ${EndIf}
    !insertmacro QuillboxFiles
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Quillbox.lnk" "$INSTDIR\quillbox.exe" "" "$INSTDIR\quillbox.exe" 0 \
        SW_SHOWNORMAL "" "Gestionnaire de Presse Papier"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillbox"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "tavrel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillbox.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://tavrel.example"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Lancer Quillbox à l'ouverture de session" SecStartup
    WriteRegStr HKCU "${RUN_KEY}" "Quillbox" '"$INSTDIR\quillbox.exe"'
SectionEnd

Function .onInit
    ; Unticked, but an upgrade keeps the choice made before, and /STARTUP ticks it.
    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "Quillbox"
    ${IfNot} ${Errors}
        SectionSetFlags ${SecStartup} ${SF_SELECTED}
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/STARTUP" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecStartup} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; Removes what the installer put in place, and nothing else: not the messages, kept in
; %APPDATA%\Quillbox, nor any file the user put in the program's folder.
Section "Uninstall"
    !insertmacro QuitRunningCopy
    !insertmacro QuillboxRemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Quillbox.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "Quillbox"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The single-instance lock's folder, once the program has removed its lock.
    RMDir "$LOCALAPPDATA\Quillbox"
SectionEnd
