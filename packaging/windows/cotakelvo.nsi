; The installer of CotaKelvo for Windows, made by scripts/windows-build:
;   makensis -DVERSION=… -DFILES=… -DUNFILES=… -DOUTFILE=… cotakelvo.nsi
; It installs for the current user alone, into a folder that user can write
; (the program keeps server.new, userkelvo.new and CotaKelvo.new beside its
; executable), writes server.new from the address asked for when there is
; none, creates the database once with cotakelvo-cli init-db, and adds a
; Start-menu shortcut and an uninstaller. The uninstaller removes the files
; the installer wrote and nothing else: the supplier's server.new,
; userkelvo.new, CotaKelvo.new and its backups stay, and so does the folder
; that holds them.
;
; Silent: setup.exe /S [/SERVER=http://…] /D=C:\folder   (/D last, unquoted)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define APP "CotaKelvo"
!define UNINSTALLER "Desinstalar CotaKelvo.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CotaKelvo"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\CotaKelvo"
InstallDirRegKey HKCU "Software\CotaKelvo" "InstallDir"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "FileDescription" "Instalação do ${APP}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${APP}"

Var ServerAddress
Var ServerField

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
Page custom ServerPage ServerPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\CotaKelvo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

Function .onInit
  SetShellVarContext current
  Call ReadServerOption
FunctionEnd

; /SERVER=address, up to the next blank or quote. (GetOptions would end the
; value at its first "/".)
Function ReadServerOption
  ${GetParameters} $0
  StrCpy $1 0
  find:
    StrCpy $2 $0 8 $1
    StrCmp $2 "" done
    StrCmp $2 "/SERVER=" found
    IntOp $1 $1 + 1
    Goto find
  found:
    IntOp $1 $1 + 8
    StrCpy $2 $0 "" $1
    StrCpy $3 0
  scan:
    StrCpy $4 $2 1 $3
    StrCmp $4 "" cut
    StrCmp $4 " " cut
    StrCmp $4 '"' cut
    IntOp $3 $3 + 1
    Goto scan
  cut:
    StrCpy $ServerAddress $2 $3
  done:
FunctionEnd

; The server's address, asked for only when the folder has no server.new:
; a supplier's own file is never replaced.
Function ServerPage
  ${If} ${FileExists} "$INSTDIR\server.new"
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Servidor da Kelvo" "O endereço do servidor de cotações."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 30u "Endereço do servidor, como o comprador informou (por exemplo http://compras.exemplo.com.br). Pode ficar em branco e ser escrito depois no arquivo server.new da pasta do programa."
  Pop $0
  ${NSD_CreateText} 0 34u 100% 12u "$ServerAddress"
  Pop $ServerField
  nsDialogs::Show
FunctionEnd

Function ServerPageLeave
  ${NSD_GetText} $ServerField $ServerAddress
FunctionEnd

Section "CotaKelvo"
  SetShellVarContext current
  !include "${FILES}"
  SetOutPath "$INSTDIR"

  ${IfNot} ${FileExists} "$INSTDIR\server.new"
  ${AndIf} $ServerAddress != ""
    FileOpen $0 "$INSTDIR\server.new" w
    FileWrite $0 "$ServerAddress$\r$\n"
    FileClose $0
  ${EndIf}

  ; The install step of the program: the database, created once.
  ${IfNot} ${FileExists} "$INSTDIR\CotaKelvo.new"
    nsExec::ExecToLog '"$INSTDIR\cotakelvo-cli.exe" --dir "$INSTDIR" init-db'
    Pop $0
    ${If} $0 != 0
      MessageBox MB_OK|MB_ICONEXCLAMATION "O banco de dados CotaKelvo.new não pôde ser criado ($0). Feche o programa, se estiver aberto, e instale de novo." /SD IDOK
      SetErrorLevel 2
    ${EndIf}
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\CotaKelvo.lnk" "$INSTDIR\CotaKelvo.exe"
  WriteRegStr HKCU "Software\CotaKelvo" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\CotaKelvo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !include "${UNFILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$SMPROGRAMS\CotaKelvo.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\CotaKelvo"
  ; Not /r: a folder that still holds the supplier's files stays.
  RMDir "$INSTDIR"
SectionEnd
