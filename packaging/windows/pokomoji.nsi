; The Windows installer of ぽこもじ, made by tools/windows_build.sh with makensis.
;
; Installs for the current user without administrator rights, or for all users
; when run as administrator (/CurrentUser or /AllUsers choose; /S installs and
; uninstalls silently). Start-menu entries for the program and its guide, an
; optional desktop shortcut and an uninstaller registered in "Apps & features".
;
; Given on the makensis command line:
;   RELEASE        e.g. 1.0.2 (file names)       VERSION   e.g. 1.00.0002 (shown)
;   VERSION_NUMBER e.g. 1.0.0.2                  STAGE     the folder to install
;   INSTALL_FILES  an include of File lines      UNINSTALL_FILES  of Delete lines
;   ICON, LICENSE  the program icon and licence  OUTFILE   the installer to write
;   PICTURE        the welcome and finish pages' picture, 164 x 314, a 24-bit BMP

; A 64-bit installer, like the program: it runs where the program runs, and
; Windows shows it the 64-bit registry and program folder.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define APP_NAME "ぽこもじ"
!define APP_ID "jp.pokomoji.Pokomoji"
!define GUIDE "${APP_NAME} の つかいかた"
!define PUBLISHER "ぽこもじ開発チーム"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Pokomoji"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "このインストーラーは かんりしゃ けんげんで じっこうしてください。"
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "このインストーラーは かんりしゃ けんげんで じっこうしてください。"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "すべての ユーザーに インストールするには かんりしゃ けんげんが ひつようです。"
!include MultiUser.nsh
!include MUI2.nsh

Name "${APP_NAME}"
OutFile "${OUTFILE}"
BrandingText "${APP_NAME} ${VERSION}"

VIProductVersion "${VERSION_NUMBER}"
VIFileVersion "${VERSION_NUMBER}"
VIAddVersionKey /LANG=1041 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1041 "FileDescription" "${APP_NAME} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pokomoji.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README-ja.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "つかいかたを よむ"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${APP_NAME} (ひつよう)" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    !include "${INSTALL_FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\pokomoji.exe" "" "$INSTDIR\pokomoji.exe" 0
    CreateShortcut "$SMPROGRAMS\${GUIDE}.lnk" "$INSTDIR\README-ja.txt"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pokomoji.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_KB}
SectionEnd

Section "デスクトップの ショートカット" SectionDesktop
    CreateShortcut "$DESKTOP\${APP_NAME}.lnk" "$INSTDIR\pokomoji.exe" "" "$INSTDIR\pokomoji.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "${APP_NAME} の プログラムと つかいかた、スタートメニューの こうもく。"
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionDesktop} "デスクトップに ${APP_NAME} の アイコンを おきます。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$SMPROGRAMS\${GUIDE}.lnk"
    Delete "$DESKTOP\${APP_NAME}.lnk"
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
