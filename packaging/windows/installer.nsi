; The Windows installer: puts Bricketing under Program Files, marks the copy as
; installed (Data\installed.txt, so it keeps the pupil's settings in
; %APPDATA%\Bricketing), adds a Start-menu shortcut and an entry in Apps & features,
; and writes an uninstaller that removes exactly the files it installed and leaves the
; per-user settings. /S installs and uninstalls silently.
;
; scripts/package-windows defines VERSION, FILE_VERSION (four numbers), STAGE (the
; folder holding bricketing.exe, Data, Resources and Help), FILES_INSTALL and
; FILES_UNINSTALL (generated lists of File and Delete lines for that folder),
; ESTIMATED_SIZE (in KiB), ICON, WELCOME_BITMAP (164 x 314), LICENCE_TEXT (the licence
; page's text) and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh

!define PRODUCT "Bricketing"
!define PUBLISHER "Quillmoor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bricketing"
!define EXE "bricketing.exe"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Bricketing.lnk"
!define REPORT_SHORTCUT "$SMPROGRAMS\Bricketing Practice Record.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}; GPL-3.0-or-later, pictures CC-BY-SA-4.0"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
; No "start the program" box on the last page: the installer runs elevated, possibly
; as another (administrator) account, and a program started from it would keep that
; account's settings instead of the pupil's.

; The licences are shown, not agreed to: neither asks anything of someone who only
; installs and uses the program, so the page has a Next button rather than I Agree.
!define MUI_PAGE_HEADER_TEXT "Licences"
!define MUI_PAGE_HEADER_SUBTEXT "What you may do with Bricketing, its pictures and its help."
!define MUI_LICENSEPAGE_TEXT_TOP "Bricketing is free software. Its licences:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You need not accept these licences to install or use Bricketing: they say what you may do when you give copies of it to others or change it."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE_TEXT}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ; The 64-bit registry and folders, whatever the caller.
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Bricketing" Program
    SectionIn RO
    ; A copy already there (an earlier version, or this one again) is removed first by
    ; its own uninstaller, run in place, so that the uninstaller written below accounts
    ; for every file the folder then holds. The pupils' settings are not touched.
    IfFileExists "$INSTDIR\${UNINSTALLER}" 0 +3
        ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
        Delete "$INSTDIR\${UNINSTALLER}"
    !include "${FILES_INSTALL}"

    ; The marker that makes this an installed copy: settings go to the pupil's own
    ; folder, never into Program Files.
    SetOutPath "$INSTDIR\Data"
    FileOpen $0 "$INSTDIR\Data\installed.txt" w
    FileWrite $0 "Installed by the ${PRODUCT} ${VERSION} setup. Settings are kept in %APPDATA%\${PRODUCT}\settings.txt.$\r$\n"
    FileClose $0

    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; The program finds Data, Resources and Help from its working folder, so the
    ; shortcut starts it in the installation folder (the current output path).
    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
    ; The teacher's report of the practice record, opened in the browser.
    CreateShortcut "${REPORT_SHORTCUT}" "$INSTDIR\${EXE}" "--report" "$INSTDIR\${EXE}" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${ESTIMATED_SIZE}
SectionEnd

Section "Uninstall"
    Delete "${SHORTCUT}"
    Delete "${REPORT_SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete "$INSTDIR\Data\installed.txt"
    !include "${FILES_UNINSTALL}"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only emptied folders go: anything the installer did not put there stays.
    RMDir "$INSTDIR"
SectionEnd
