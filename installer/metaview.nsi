; Metaview's installer: Metaview, the Basekit0308 library with its type library, ExifTool with
; its licence, and the help document, for all users (Program Files, HKLM) or for the current
; user alone (%LOCALAPPDATA%\Programs, HKCU). installer/CMakeLists.txt runs makensis with:
;   ARCH          x64 or x86
;   VERSION       Metaview's version as it shows it (1.01.0017); VERSION_QUAD as four numbers
;   OUTFILE       the installer to write
;   FILES_NSH     the install commands of every file, UNFILES_NSH their removal (file_lists.py)
;   COPYRIGHT     Metaview's copyright line in English
;   ICON          Metaview's icon
;   COMPRESSOR    the arguments of SetCompressor
;
; Installer switches: /S silent; /AllUsers or /CurrentUser choose the scope (default: all users
; for an administrator, the current user otherwise); /D=<folder> the install folder (last, not
; quoted). Exit codes: 0 installed, 1 cancelled, 2 refused (conflicting switches, /AllUsers
; without administrator rights), 3 installed but the library could not be registered.
; Uninstaller switches: /S silent; /RemoveSettings removes the user's Metaview settings without
; asking (a silent uninstall keeps them otherwise); /AllUsers or /CurrentUser name the scope,
; which it otherwise finds from its own uninstall entry.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else if "${ARCH}" == "x86"
  Target x86-unicode
!else
  !error "ARCH must be x64 or x86"
!endif
SetCompressor ${COMPRESSOR}
RequestExecutionLevel highest
ManifestDPIAware true

Name "Metaview"
OutFile "${OUTFILE}"
BrandingText "Metaview ${VERSION} (${ARCH})"
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "Metaview"
VIAddVersionKey /LANG=0 "CompanyName" "Orvex"
VIAddVersionKey /LANG=0 "FileDescription" "Metaview ${VERSION} setup (${ARCH})"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PUBLISHER "Orvex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Metaview"
!define VERB_KEY "Software\Classes\*\shell\Metaview"
!define SETTINGS_KEY "Software\Orvex\Metaview"
!define COMPANY_KEY "Software\Orvex"
; Metaview registers its own path there (per user) whenever it runs.
!define APP_PATHS_PARENT "Software\Microsoft\Windows\CurrentVersion\App Paths"
!define APP_PATHS_KEY "${APP_PATHS_PARENT}\Metaview.exe"
!define SENDTO_LINK "$SENDTO\Metaview.lnk"
!define HELP_LINK "$SMPROGRAMS\Metaview Help.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var AllUsers   ; 1: for all users (HKLM, Program Files); 0: for the current user (HKCU)

; ---- Scope: which users, which registry root (SHCTX) and which shell folders

; The scope the command line names: pushes "all", "current", "both" or "".
!macro ScopeSwitches un
Function ${un}ScopeSwitches
  Push $R0
  Push $R1
  Push $R2
  ${GetParameters} $R0
  StrCpy $R2 ""
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $R2 "all"
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    ${If} $R2 == "all"
      StrCpy $R2 "both"
    ${Else}
      StrCpy $R2 "current"
    ${EndIf}
  ${EndIf}
  StrCpy $R0 $R2
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro ScopeSwitches ""
!insertmacro ScopeSwitches "un."

; Pushes 1 when the user is an administrator (running elevated where that applies), else 0.
!macro IsAdmin un
Function ${un}IsAdmin
  Push $R0
  UserInfo::GetAccountType
  Pop $R0
  ${If} $R0 == "Admin"
    StrCpy $R0 1
  ${Else}
    StrCpy $R0 0
  ${EndIf}
  Exch $R0
FunctionEnd
!macroend
!insertmacro IsAdmin ""
!insertmacro IsAdmin "un."

; Takes the scope the switches named ($R0) or, with none, the default; refuses what cannot be
; done. Sets $AllUsers and the shell context.
!macro ChooseScope un
Function ${un}ChooseScope
  Call ${un}IsAdmin
  Pop $R1
  ${If} $R0 == "both"
    MessageBox MB_OK|MB_ICONSTOP "/AllUsers and /CurrentUser cannot be used together." /SD IDOK
    SetErrorLevel 2
    Quit
  ${ElseIf} $R0 == "all"
    ${If} $R1 != 1
      MessageBox MB_OK|MB_ICONSTOP "Metaview can be installed or removed for all users only by an administrator." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${ElseIf} $R0 == "current"
    StrCpy $AllUsers 0
  ${Else}
    StrCpy $AllUsers $R1
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd
!macroend
!insertmacro ChooseScope ""
!insertmacro ChooseScope "un."

Function .onInit
  Call ScopeSwitches
  Pop $R0
  Call ChooseScope
  ; /D= sets the folder before this runs; otherwise the folder of an earlier install in the
  ; same scope, else the scope's usual place.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $AllUsers == 1
      !if "${ARCH}" == "x64"
        StrCpy $INSTDIR "$PROGRAMFILES64\Metaview"
      !else
        StrCpy $INSTDIR "$PROGRAMFILES\Metaview"
      !endif
    ${Else}
      ; $LOCALAPPDATA of the current user (in the all-users context it names ProgramData).
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Metaview"
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---- The library's registration: DllInstall, with "user" for the current user's classes

; $R0: 1 to register, 0 to unregister. Pushes the HRESULT ("error" when the DLL could not be
; loaded or has no DllInstall). The DLL is unloaded after the call, so that it can be deleted.
!macro CallDllInstall un
Function ${un}CallDllInstall
  Push $0
  Push $1
  ${If} $AllUsers == 1
    StrCpy $1 ""
  ${Else}
    StrCpy $1 "user"
  ${EndIf}
  StrCpy $0 "error"
  System::Call '$INSTDIR\Basekit0308.dll::DllInstall(i R0, w r1) i .r0 ?u'
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro CallDllInstall ""
!insertmacro CallDllInstall "un."

; ---- Install

Section "Metaview" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  !include /CHARSET=UTF8 "${FILES_NSH}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  StrCpy $R0 1
  Call CallDllInstall
  Pop $0
  ${If} $0 != 0
    DetailPrint "The library was not registered (DllInstall: $0)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Basekit0308.dll could not be registered ($0). Metaview works without it; other programs cannot create its classes." /SD IDOK
    SetErrorLevel 3
  ${EndIf}

  ; "Open with Metaview" on every file.
  WriteRegStr SHCTX "${VERB_KEY}" "" "Open with Metaview"
  WriteRegStr SHCTX "${VERB_KEY}" "Icon" "$INSTDIR\Metaview.exe,0"
  WriteRegStr SHCTX "${VERB_KEY}\command" "" '"$INSTDIR\Metaview.exe" "%1"'

  ; Send To (always the installing user's: Windows has no Send To folder for all users) and
  ; the help document in the Start menu of the scope.
  CreateShortcut "${SENDTO_LINK}" "$INSTDIR\Metaview.exe" "" "$INSTDIR\Metaview.exe" 0
  CreateShortcut "${HELP_LINK}" "$INSTDIR\Metaview.html"

  ; The entry in the list of installed programs.
  ${If} $AllUsers == 1
    StrCpy $0 "/AllUsers"
  ${Else}
    StrCpy $0 "/CurrentUser"
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Metaview"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Metaview.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" $0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S $0'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

; ---- Uninstall

; The scope of this copy when no switch names it: the scope whose uninstall entry names this
; folder (all users first), else the current user.
Function un.onInit
  Call un.ScopeSwitches
  Pop $R0
  ${If} $R0 == ""
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == $INSTDIR
      StrCpy $R0 "all"
    ${ElseIf} $R2 == $INSTDIR
      StrCpy $R0 "current"
    ${EndIf}
  ${EndIf}
  ${If} $R0 == ""
    StrCpy $R0 "current"
  ${EndIf}
  Call un.ChooseScope
FunctionEnd

Section "Uninstall"
  StrCpy $R0 0
  Call un.CallDllInstall
  Pop $0
  ${If} $0 != 0
    DetailPrint "The library's registration was not removed (DllInstall: $0)."
  ${EndIf}

  !include /CHARSET=UTF8 "${UNFILES_NSH}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ${If} $AllUsers == 0
    ; The per-user programs folder, when the install made it and nothing else is in it.
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}

  Delete "${SENDTO_LINK}"
  Delete "${HELP_LINK}"
  DeleteRegKey SHCTX "${VERB_KEY}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\*\shell"
  DeleteRegKey /ifempty SHCTX "Software\Classes\*"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Metaview's own path registration, when it names this copy.
  ReadRegStr $0 HKCU "${APP_PATHS_KEY}" ""
  ${If} $0 == "$INSTDIR\Metaview.exe"
    DeleteRegKey HKCU "${APP_PATHS_KEY}"
    DeleteRegKey /ifempty HKCU "${APP_PATHS_PARENT}"
  ${EndIf}

  ; The user's settings: asked for (a silent uninstall keeps them), or /RemoveSettings.
  ClearErrors
  EnumRegKey $0 HKCU "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/RemoveSettings" $2
    ${If} ${Errors}
      MessageBox MB_YESNO|MB_ICONQUESTION "Remove your Metaview settings (window position, colours, ExifTool language and file name character set) as well?" /SD IDNO IDYES remove IDNO keep
    ${EndIf}
    remove:
      DeleteRegKey HKCU "${SETTINGS_KEY}"
      DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
    keep:
  ${EndIf}

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
