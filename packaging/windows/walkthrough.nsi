; The Windows installer of the walk-through, built by makensis in the Windows build
; (cmake/WindowsPackage.cmake gives it the defines below). It installs for the current user alone,
; without administrator rights: the programs and the sample scene into one folder, a Start-menu
; entry, the .3ds file association and an uninstaller that takes all of it away again.
;   makensis -DVERSION=X.Y.Z -DSTAGE=FOLDER -DICON=FILE.ico -DOUTFILE=SETUP.exe walkthrough.nsi
; STAGE holds what is installed: walkthrough.exe, model-info.exe, make-sample.exe, kelm.3ds and
; groud.wav. The same folder is the portable .zip.
;
; Silent use: SETUP.exe /S [/D=FOLDER] installs, FOLDER\uninstall.exe /S removes.

Unicode true
; A 64-bit installer for the 64-bit programs (and a Wine without 32-bit support).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define NAME "Walkthrough"
!define PROGRAM "walkthrough.exe"
; The file type the .3ds extension names while this program opens it.
!define FILE_TYPE "Walkthrough.3ds"
!define CLASSES "Software\Classes"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Walkthrough"
; SHChangeNotify's event: the file associations changed, so Explorer shows the new icon.
!define SHCNE_ASSOCCHANGED 0x08000000

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${NAME}"
OutFile "${OUTFILE}"
; Where programs installed for one user live, which that user may write without elevation.
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "walkthrough developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "walkthrough developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start the walk-through of the sample scene"
!define MUI_FINISHPAGE_RUN_FUNCTION StartWalkthrough
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Started without a model the walk-through reads the sample scene from its working folder.
Function StartWalkthrough
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${PROGRAM}"'
FunctionEnd

Section "Install"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\${PROGRAM}"
    File "${STAGE}\model-info.exe"
    File "${STAGE}\make-sample.exe"
    File "${STAGE}\kelm.3ds"
    File "${STAGE}\groud.wav"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut's working folder is the output path: the install folder, with the sample.
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0 \
        SW_SHOWNORMAL "" "Walk through a 3D model under a rising sun"

    ; .3ds files open in the walk-through. Whatever type .3ds named before is kept, so that
    ; uninstalling gives it back; installing again over this one keeps the first.
    ReadRegStr $0 HKCU "${CLASSES}\.3ds" ""
    ${If} $0 != ""
    ${AndIf} $0 != "${FILE_TYPE}"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousFileType" "$0"
    ${EndIf}
    WriteRegStr HKCU "${CLASSES}\.3ds" "" "${FILE_TYPE}"
    WriteRegStr HKCU "${CLASSES}\.3ds\OpenWithProgids" "${FILE_TYPE}" ""
    WriteRegStr HKCU "${CLASSES}\${FILE_TYPE}" "" "3DS model"
    WriteRegStr HKCU "${CLASSES}\${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${CLASSES}\${FILE_TYPE}\shell\open\command" "" \
        '"$INSTDIR\${PROGRAM}" "%1"'
    ; Offered in "Open with" for .3ds files even where another program is the default.
    WriteRegStr HKCU "${CLASSES}\Applications\${PROGRAM}\shell\open\command" "" \
        '"$INSTDIR\${PROGRAM}" "%1"'
    WriteRegStr HKCU "${CLASSES}\Applications\${PROGRAM}\SupportedTypes" ".3ds" ""

    ; Listed under the installed apps, from where it can be removed.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "walkthrough developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

; Removes only what the installer made: files a user put into the folder keep it.
Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\${PROGRAM}"
    Delete "$INSTDIR\model-info.exe"
    Delete "$INSTDIR\make-sample.exe"
    Delete "$INSTDIR\kelm.3ds"
    Delete "$INSTDIR\groud.wav"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${NAME}.lnk"

    ; .3ds names again the type it named before, or none; another program's choice made since
    ; is left as it is.
    ReadRegStr $0 HKCU "${CLASSES}\.3ds" ""
    ${If} $0 == "${FILE_TYPE}"
        ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousFileType"
        ${If} $1 != ""
            WriteRegStr HKCU "${CLASSES}\.3ds" "" "$1"
        ${Else}
            DeleteRegValue HKCU "${CLASSES}\.3ds" ""
        ${EndIf}
    ${EndIf}
    DeleteRegValue HKCU "${CLASSES}\.3ds\OpenWithProgids" "${FILE_TYPE}"
    ; Keys deleted only where nothing else is left in them.
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${CLASSES}\.3ds\OpenWithProgids"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${CLASSES}\.3ds"
    DeleteRegKey HKCU "${CLASSES}\${FILE_TYPE}"
    DeleteRegKey HKCU "${CLASSES}\Applications\${PROGRAM}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
