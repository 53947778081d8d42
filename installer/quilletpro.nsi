; The Quillet Pro setup program: the program and both builds of Tarnkey.dll,
; for all users or, without administrator rights, for the current user alone.
; makensis -DVERSION=1.0.0 -DPROGRAM=... -DTARNKEY64=... -DTARNKEY32=... -DICON=... -DOUTFILE=...

!ifndef VERSION | PROGRAM | TARNKEY64 | TARNKEY32 | ICON | OUTFILE
  !error "VERSION, PROGRAM, TARNKEY64, TARNKEY32, ICON and OUTFILE must be defined"
!endif

Unicode true
; The program is 64-bit, so the setup program is too: it reaches the 64-bit
; system folder and registry view without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
; Administrators are asked to elevate; other users install for themselves.
RequestExecutionLevel highest

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Quillet Pro"
!define PUBLISHER "Brindle"
!define MAIN_CLASS "QuilletProMain"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuilletPro"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quillet_Pro"
!define SETTINGS_FILE "quilbdx.ini"
!define PICTURE_FOLDER "C:\ClipPics"
!define ENDSESSION_CLOSEAPP 0x1

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT} Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

Var PerUser

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Quillet Pro will be removed from your computer.$\r$\nYour stores and pictures stay unless you tick them below."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Quillet Pro to save and exit as Windows does at a restart,
; and waits for its process to end.
!macro CLOSE_PROGRAM un
Function ${un}CloseProgram
  StrCpy $R9 0
  ${Do}
    FindWindow $R0 "${MAIN_CLASS}"
    ${If} $R0 == 0
      Return
    ${EndIf}
    ${If} $R9 >= 3
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Quillet Pro is still running. Exit it (File > Exit), then click Retry." \
        /SD IDCANCEL IDRETRY +2
      Abort "Quillet Pro is still running."
      StrCpy $R9 0
    ${EndIf}
    IntOp $R9 $R9 + 1
    DetailPrint "Asking Quillet Pro to exit"
    System::Call "user32::GetWindowThreadProcessId(p R0, *i .R1)"
    ; SYNCHRONIZE: enough to wait for the process.
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .R2"
    SendMessage $R0 ${WM_QUERYENDSESSION} 0 ${ENDSESSION_CLOSEAPP} $R3 /TIMEOUT=10000
    ; It agrees once its stores are saved; a refusal keeps it running.
    ${If} $R3 <> 0
      SendMessage $R0 ${WM_ENDSESSION} 1 ${ENDSESSION_CLOSEAPP} $R3 /TIMEOUT=10000
    ${Else}
      SendMessage $R0 ${WM_ENDSESSION} 0 ${ENDSESSION_CLOSEAPP} $R3 /TIMEOUT=10000
    ${EndIf}
    ${If} $R2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p R2, i 15000) i .R3"
      System::Call "kernel32::CloseHandle(p R2)"
    ${Else}
      Sleep 1000
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."

; /CurrentUser installs for this user alone even with administrator rights.
Function .onInit
  StrCpy $PerUser 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $PerUser 1
  ${Else}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      StrCpy $PerUser 1
    ${EndIf}
  ${EndIf}
  SetRegView 64
  ${If} $PerUser == 1
    SetShellVarContext current
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${Else}
    SetShellVarContext all
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Quillet Pro" SecProgram
  SectionIn RO
  Call CloseProgram
  SetOutPath "$INSTDIR"
  File "/oname=quilletpro.exe" "${PROGRAM}"
  File "/oname=Tarnkey.dll" "${TARNKEY64}"
  SetOutPath "$INSTDIR\x86"
  File "/oname=Tarnkey.dll" "${TARNKEY32}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Each build registers itself in its own view of the registry; without
  ; administrator rights it registers for the user.
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Tarnkey.dll"' $R0
  ${If} $R0 != 0
    DetailPrint "Tarnkey.dll was not registered ($R0): the hotkeys will be unavailable."
    MessageBox MB_OK|MB_ICONEXCLAMATION "The hotkey component could not be registered; Quillet Pro will run without its hotkeys." /SD IDOK
  ${EndIf}
  ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s "$INSTDIR\x86\Tarnkey.dll"' $R0
  ${If} $R0 != 0
    DetailPrint "The 32-bit Tarnkey.dll was not registered ($R0): 32-bit programs will not find it."
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\quilletpro.exe" "" \
    "$INSTDIR\quilletpro.exe" 0 SW_SHOWNORMAL "" "Keeps your texts one click away"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quilletpro.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $R0 $R1 $R2
  IntFmt $R0 "0x%08X" $R0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R0
SectionEnd

; The uninstaller runs for the users its setup was for: the current user's
; entry for this folder, or no entry for the machine, means a per-user install.
Function un.onInit
  SetRegView 64
  StrCpy $PerUser 0
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  System::Call "kernel32::GetLongPathNameW(w '$INSTDIR', w .R2, i ${NSIS_MAX_STRLEN}) i .R3"
  ${If} $R3 = 0
    StrCpy $R2 $INSTDIR
  ${EndIf}
  ${If} $R0 != ""
  ${AndIf} $R0 == $R2
  ${OrIf} $R1 == ""
    StrCpy $PerUser 1
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "un.Quillet Pro" UnSecProgram
  SectionIn RO
  Call un.CloseProgram

  ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\Tarnkey.dll"'
  ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /u /s "$INSTDIR\x86\Tarnkey.dll"'

  ; Auto Run writes its value for all users where it may, else for the user.
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $PerUser == 1
    DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ${EndIf}

  Delete "$INSTDIR\quilletpro.exe"
  Delete "$INSTDIR\Tarnkey.dll"
  Delete "$INSTDIR\x86\Tarnkey.dll"
  RMDir "$INSTDIR\x86"
  ; The text printout is made again at every print.
  Delete "$INSTDIR\ClipPrint.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Kept when the user's settings file lies in it.
  RMDir "$INSTDIR"
  ${If} $PerUser == 1
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
SectionEnd

; Every place the program looks for its settings file, and its pictures.
Section /o "un.Your stores and pictures (${SETTINGS_FILE}, ${PICTURE_FOLDER})" UnSecData
  StrCpy $R0 "$INSTDIR" 3
  Delete "$R0${SETTINGS_FILE}"
  Delete "C:\${SETTINGS_FILE}"
  Delete "$INSTDIR\${SETTINGS_FILE}"
  SetShellVarContext current
  Delete "$APPDATA\${PRODUCT}\${SETTINGS_FILE}"
  RMDir "$APPDATA\${PRODUCT}"
  RMDir /r "${PICTURE_FOLDER}"
  RMDir "$INSTDIR"
SectionEnd
