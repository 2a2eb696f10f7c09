; The Windows installer of Moza (NSIS). scripts/package-windows.sh gives it:
;   VERSION  the version (1.0.3)   SOURCE  the program folder to install (moza\)   OUTFILE  the installer
;   ICON  the program's icon (optional)
; Installed, the executables and Qt sit in $INSTDIR\bin and the data in $INSTDIR\share\moza\data, the
; layout in which the program writes its pages to %LOCALAPPDATA%\moza\temp (Program Files is not
; writable). A silent install (/S) installs for all users with the Start-menu entry and no file
; associations.
; A 64-bit installer for a 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
!include "MUI2.nsh"

Name "Moza ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Moza"
InstallDirRegKey HKLM "Software\Moza" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Moza"
!define PROG_ID "Moza.Picture"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "Moza"
VIAddVersionKey /LANG=1041 "FileDescription" "Moza セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Moza"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Registers Moza under "Open with" for one picture extension.
!macro Associate EXT
  WriteRegStr HKLM "Software\Classes\.${EXT}\OpenWithProgids" "${PROG_ID}" ""
  WriteRegStr HKLM "Software\Classes\Applications\moza.exe\SupportedTypes" ".${EXT}" ""
!macroend
!macro Dissociate EXT
  DeleteRegValue HKLM "Software\Classes\.${EXT}\OpenWithProgids" "${PROG_ID}"
!macroend

Section "Moza (必須)" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR\bin"
  File /r /x data /x temp "${SOURCE}\*.*"
  SetOutPath "$INSTDIR\share\moza\data"
  File /r "${SOURCE}\data\*.*"
  SetOutPath "$INSTDIR\bin"
  CreateShortcut "$SMPROGRAMS\Moza.lnk" "$INSTDIR\bin\moza.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\Moza" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Moza"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Moza"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\moza.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegStr HKLM "Software\Classes\Applications\moza.exe\shell\open\command" "" '"$INSTDIR\bin\moza.exe" "%1"'
SectionEnd

Section /o "画像ファイルを Moza で開けるようにする" SecAssociate
  WriteRegStr HKLM "Software\Classes\${PROG_ID}" "" "Moza で開く画像"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\bin\moza.exe" "%1"'
  !insertmacro Associate bmp
  !insertmacro Associate jpg
  !insertmacro Associate jpeg
  !insertmacro Associate png
  !insertmacro Associate gif
  !insertmacro Associate webp
  !insertmacro Associate tif
  !insertmacro Associate tiff
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Moza 本体 (moza.exe と moza-convert.exe)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociate} "BMP・JPEG・PNG・GIF・WebP・TIFF の「プログラムから開く」に Moza を加えます"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Moza.lnk"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share\moza"
  RMDir "$INSTDIR\share"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  !insertmacro Dissociate bmp
  !insertmacro Dissociate jpg
  !insertmacro Dissociate jpeg
  !insertmacro Dissociate png
  !insertmacro Dissociate gif
  !insertmacro Dissociate webp
  !insertmacro Dissociate tif
  !insertmacro Dissociate tiff
  DeleteRegKey HKLM "Software\Classes\${PROG_ID}"
  DeleteRegKey HKLM "Software\Classes\Applications\moza.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Moza"
  ; The pages the program made are the user's: %LOCALAPPDATA%\moza\temp stays.
SectionEnd
