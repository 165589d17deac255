; Quorvan setup: a per-user install that needs no administrator.
;
; qv.exe goes to %LOCALAPPDATA%\Programs\Quorvan. The program keeps program.cfg in its current
; folder, so the shortcuts start it in %APPDATA%\Quorvan: the settings stay with the user, in
; no program folder, and survive updates and removal.
;
; scripts/dist.sh passes on the command line:
;   VERSION      1.0.x.x, the FileVersion of qv.exe
;   QV_EXE       the qv.exe to install
;   ICON         the program icon
;   WELCOME_BMP  the 164x314 picture of the welcome and finish pages
;   OUTFILE      the setup file to write

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Quorvan"
!define PUBLISHER "Quorvan"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvan"
!define MAIN_WINDOW_CLASS "qv_MainWindow"
!define SHORTCUT "Quorvan.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorvan"
; An update goes where the previous version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME_BMP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WELCOME_BMP}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TITLE "Установка Quorvan ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Quorvan — обмен данными с мобильными телефонами.$\r$\n$\r$\nПрограмма будет установлена только для вас, права администратора не нужны. Настройки хранятся в вашем профиле и сохраняются при обновлении и удалении программы.$\r$\n$\r$\nЕсли Quorvan запущен, закройте его.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Quorvan"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Quorvan будет удалён из папки, указанной ниже. Настройки (program.cfg в папке «$APPDATA\Quorvan») останутся."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

; The same keys as qv.exe's own version resource, which has no copyright line either.
!pragma warning disable 9100
VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"

; A running qv.exe cannot be replaced or removed, and it would write its settings back over
; whatever happens meanwhile: wait until the user closes it. A silent run gives up.
!macro WaitUntilProgramIsClosed
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quorvan запущен. Закройте программу и повторите попытку." /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Abort
  ${Loop}
!macroend

Function .onInit
  !insertmacro WaitUntilProgramIsClosed
FunctionEnd

Function un.onInit
  !insertmacro WaitUntilProgramIsClosed
FunctionEnd

; Shortcuts take $OUTDIR as the folder the program starts in.
!macro SettingsFolderAsWorkingFolder
  CreateDirectory "$APPDATA\Quorvan"
  SetOutPath "$APPDATA\Quorvan"
!macroend

Section "Quorvan" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=qv.exe" "${QV_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  !insertmacro SettingsFolderAsWorkingFolder
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\qv.exe" "" "$INSTDIR\qv.exe" 0
  ; The desktop shortcut exists only while its box is ticked, also over an earlier install.
  Delete "$DESKTOP\${SHORTCUT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qv.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Ярлык на рабочем столе" SecDesktop
  !insertmacro SettingsFolderAsWorkingFolder
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\qv.exe" "" "$INSTDIR\qv.exe" 0
SectionEnd

Function StartProgram
  !insertmacro SettingsFolderAsWorkingFolder
  Exec '"$INSTDIR\qv.exe"'
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  Delete "$INSTDIR\qv.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
