; Installer of the tablet's HDMI viewer and the board's device-access library.
; Built by the build (target tavrin_installer), which passes:
;   VERSION         four-part release number, e.g. 1.0.11.5
;   VERSION_TEXT    product version text, e.g. V1.00L11 M05
;   TAVRIN_EXE, OVXCOMMON_DLL, README_TXT, LICENSE_TXT   files to install
;   OUTFILE         the installer to write
;
; A 64-bit installer: the programs are 64-bit, and a 64-bit process sees the
; real Program Files, System32 and registry without redirection.
;
; Exit codes: 0 installed, 1 cancelled by the user, 2 refused (not 64-bit
; Windows, no administrator rights, the viewer is running, the target folder
; cannot be written); a refusal changes nothing.  Without /S the reason is
; shown in a message box.
;
; Uninstaller: removes what the installer put there; the settings under
; HKLM\Software\Velmora\Tavrin stay unless the "Settings" component is chosen
; (or /REMOVESETTINGS is given with /S).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Tavrin"
!define PUBLISHER "Velmora"
!define SETTINGS_KEY "Software\Velmora\Tavrin"
!define VENDOR_KEY "Software\Velmora"
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Tavrin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
!define MAIN_WINDOW_CLASS "Velmora Tavrin MainWndClass"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora\Tavrin"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION_TEXT}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2024 Velmora. All rights reserved."

Var existingAncestor  ; the deepest folder of $INSTDIR that existed before

!define MUI_ABORTWARNING
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Shows the reason (unless silent) and ends with exit code 2.
!macro Refuse text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

Function .onInit
  SetRegView 64
  ${IfNot} ${IsNativeAMD64}
    !insertmacro Refuse "${PRODUCT} needs 64-bit (x64) Windows. This system is not 64-bit x64 Windows; nothing was installed."
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro Refuse "Installing ${PRODUCT} needs administrator rights. Run the installer as an administrator; nothing was installed."
  ${EndIf}
  ; A /D folder that NSIS finds unusable (a missing drive, say) silently
  ; gives way to the default folder, and $CMDLINE no longer shows it: take it
  ; from the process's own command line so that the section refuses it.
  System::Call "kernel32::GetCommandLineW() w .r0"
  StrLen $2 $0
  IntOp $2 $2 - 4
  ${For} $3 0 $2
    StrCpy $1 $0 4 $3
    ${If} $1 S== " /D="
      IntOp $3 $3 + 4
      StrCpy $INSTDIR $0 "" $3
      ${Break}
    ${EndIf}
  ${Next}
FunctionEnd

; Sets $0 to an error text when $INSTDIR cannot be created or written, else
; to "".  Whatever it created for the check it removes again on failure.
Function CheckTarget
  StrCpy $0 ""
  StrCpy $existingAncestor $INSTDIR
  ${DoUntil} ${FileExists} "$existingAncestor\*.*"
    ${GetParent} $existingAncestor $existingAncestor
    ${If} $existingAncestor == ""
      ${ExitDo}
    ${EndIf}
  ${Loop}
  ${If} ${FileExists} "$INSTDIR"
  ${AndIfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $0 "The installation folder $INSTDIR is a file, not a folder. Choose another folder; nothing was installed."
    Return
  ${EndIf}
  ClearErrors
  CreateDirectory "$INSTDIR"
  ${If} ${Errors}
  ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
    Call RemoveCreatedFolders
    StrCpy $0 "The installation folder $INSTDIR cannot be created (its drive or parent folder is missing or read-only). Choose another folder; nothing was installed."
    Return
  ${EndIf}
  ClearErrors
  FileOpen $1 "$INSTDIR\tavrin-setup.probe" w
  ${If} ${Errors}
    Call RemoveCreatedFolders
    StrCpy $0 "The installation folder $INSTDIR is read-only: the installer cannot write to it. Choose another folder or make it writable; nothing was installed."
    Return
  ${EndIf}
  FileClose $1
  Delete "$INSTDIR\tavrin-setup.probe"
FunctionEnd

; Removes the empty folders from $INSTDIR up to (not including) the deepest
; one that existed before.
Function RemoveCreatedFolders
  StrCpy $2 $INSTDIR
  ${Do}
    ${If} $2 == $existingAncestor
    ${OrIf} $2 == ""
      ${ExitDo}
    ${EndIf}
    RMDir $2
    ${GetParent} $2 $2
  ${Loop}
FunctionEnd

Function DirectoryLeave
  Call CheckTarget
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0"
    Abort  ; stay on the page
  ${EndIf}
FunctionEnd

; Writes a REG_DWORD default under the settings key unless a value of that
; name exists already (of any type: an administrator's value is kept).
!macro DefaultSetting name value
  Push "${name}"
  Call SettingExists
  Pop $1
  ${If} $1 == 0
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "${name}" ${value}
  ${EndIf}
!macroend

; Pops a value name, pushes 1 when it exists under the settings key, else 0.
Function SettingExists
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R2 0
  ${Do}
    EnumRegValue $R1 HKLM "${SETTINGS_KEY}" $R2
    ${If} $R1 == ""
      StrCpy $R0 0
      ${ExitDo}
    ${EndIf}
    ${If} $R1 == $R0  ; value names compare without regard to case, as in the registry
      StrCpy $R0 1
      ${ExitDo}
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

Section "${PRODUCT}" SecMain
  SectionIn RO
  SetRegView 64

  ; A running viewer holds its file open; ask for it to be closed first.
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    !insertmacro Refuse "${PRODUCT} is running. Close it and run the installer again; nothing was changed."
  ${EndIf}
  ; So is the library in another program of the board's software: it could
  ; not be replaced, and a silent setup would carry on with the old one.
  ${If} ${FileExists} "$SYSDIR\ovxcommon.dll"
    ClearErrors
    FileOpen $0 "$SYSDIR\ovxcommon.dll" a
    ${If} ${Errors}
      !insertmacro Refuse "$SYSDIR\ovxcommon.dll is in use by another program. Close the board's programs and run the installer again; nothing was changed."
    ${EndIf}
    FileClose $0
  ${EndIf}
  Call CheckTarget
  ${If} $0 != ""
    !insertmacro Refuse "$0"
  ${EndIf}

  ; An earlier copy in another folder goes; its settings stay.
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 != $INSTDIR
    Delete "$1\tavrin.exe"
    Delete "$1\README.txt"
    Delete "$1\LICENSE.txt"
    Delete "$1\uninstall.exe"
    RMDir "$1"
    ${GetParent} "$1" $2
    ${GetFileName} "$2" $3
    ${If} $3 == "${PUBLISHER}"
      RMDir "$2"
    ${EndIf}
  ${EndIf}

  SetOverwrite on
  SetOutPath "$INSTDIR"
  File "/oname=tavrin.exe" "${TAVRIN_EXE}"
  File "/oname=README.txt" "${README_TXT}"
  File "/oname=LICENSE.txt" "${LICENSE_TXT}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Other programs of the board's software load the library by name: the
  ; system folder is on every program's search path.
  SetOutPath "$SYSDIR"
  File "/oname=ovxcommon.dll" "${OVXCOMMON_DLL}"
  SetOutPath "$INSTDIR"

  ; The viewer's machine settings: defaults only where none is set.
  !insertmacro DefaultSetting "Detect" 1
  !insertmacro DefaultSetting "ApiLog" 0
  !insertmacro DefaultSetting "ExecutionInterval" 16
  !insertmacro DefaultSetting "AudioDelay" 20
  !insertmacro DefaultSetting "MaxZoom" 8
  !insertmacro DefaultSetting "DoubleClickZoom" 5

  ; The event source of the viewer's Application-log entries, with the
  ; message table in tavrin.exe (error, warning and information types).
  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\tavrin.exe"
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tavrin.exe" "" "$INSTDIR\tavrin.exe" 0 \
    SW_SHOWNORMAL "" "HDMI input viewer"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavrin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "un.${PRODUCT}" SecUnMain
  SectionIn RO
  SetRegView 64
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running. Close it and run the uninstaller again; nothing was removed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  Delete "$INSTDIR\tavrin.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} "$0" $1
  ${If} $1 == "${PUBLISHER}"
    RMDir "$0"  ; the vendor folder, when nothing else is in it
  ${EndIf}
  Delete /REBOOTOK "$SYSDIR\ovxcommon.dll"  ; at the next restart when a program holds it

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Settings" SecSettings
  SetRegView 64
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
SectionEnd

Function un.onInit
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

LangString DESC_SecUnMain ${LANG_ENGLISH} "The program, the device-access library, the shortcut and the event source."
LangString DESC_SecSettings ${LANG_ENGLISH} "Also remove the administrator's settings under HKLM\${SETTINGS_KEY}."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnMain} $(DESC_SecUnMain)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSettings} $(DESC_SecSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
