; Telvor's installer: per user, no administrator rights, German throughout.
;
; Built by cmake/Package.cmake from the same staged folder as the zip:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.00 -DFILEVERSION=2.0.0.0 -DSTAGE=<folder>
;            -DICON=<MainForm.ico> -DOUTFILE=<setup.exe> packaging/Telvor.nsi
;
; What it keeps: the caller database, the call list, the protocol file (all beside the
; program) and the settings (HKCU\Software\Orbek\Telvor) are never part of the package, so
; installing over an earlier version leaves them alone. The shipped AreaCode.txt is the
; program's and is replaced.
;
; Start at logon: a shortcut "Telvor.lnk" in the user's Startup folder, whose working folder
; is the installation. The monitor reads AreaCode.txt from its current folder, and a value
; under HKCU\...\Run cannot set one (Windows starts those programs in its own folder). The
; configuration dialog's "Beim Anmelden starten" makes the same shortcut.
;
; A running monitor is ended in order, never killed: WM_CLOSE to its main window, as its own
; menu does, so that it stores its settings and releases the line. It refuses while its
; configuration dialog holds unapplied changes; the installer then asks the user to apply or
; discard them and to try again, and gives up without changing anything when the user
; cancels. A silent run cannot ask: it ends with exit code 2 and changes nothing.

Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!ifndef VERSION | FILEVERSION | STAGE | ICON | OUTFILE
  !error "VERSION, FILEVERSION, STAGE, ICON and OUTFILE come from the build (cmake/Package.cmake)"
!endif

!define PRODUCT "Telvor"
!define PUBLISHER "Orbek"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Telvor"
!define SETTINGS_KEY "Software\Orbek\Telvor"
!define UNINSTALLER "Deinstallieren.exe"
; Shared with the configuration dialog (src/ui/StartAtLogon.h).
!define STARTUP_LINK "$SMSTARTUP\Telvor.lnk"
!define MONITOR_CLASS "TTelvorMainForm"
!define MONITOR_TITLE "TelvorServer"
; How long an orderly end may take before the monitor counts as refusing.
!define END_WAIT_MS 20000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Telvor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${FILEVERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "FileDescription" "Installation von ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "MIT-Lizenz"

Var MonitorWasRunning

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Telvor jetzt starten"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMonitorFromFinishPage
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "LIESMICH.txt anzeigen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; --- ending a running monitor in order (installer and uninstaller) -----------------------

!macro END_MONITOR prefix
Function ${prefix}EndMonitor
  StrCpy $MonitorWasRunning 0
  FindWindow $0 "${MONITOR_CLASS}" "${MONITOR_TITLE}"
  ${If} $0 = 0
    Return
  ${EndIf}
  StrCpy $MonitorWasRunning 1
  DetailPrint "Telvor wird beendet ..."
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  ; SYNCHRONIZE: enough to wait for the end.
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
ask:
  System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
  ${If} $2 <> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${END_WAIT_MS}) i .r3'
    StrCmp $3 0 ended
  ${Else}
    ; No handle to wait on: the window's end, then a moment for the process to follow.
    StrCpy $3 0
    ${Do}
      Sleep 250
      IntOp $3 $3 + 250
      System::Call 'user32::IsWindow(p r0) i .r4'
      ${If} $4 = 0
        Sleep 2000
        Goto ended
      ${EndIf}
    ${LoopUntil} $3 >= ${END_WAIT_MS}
  ${EndIf}
  IfSilent refused
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "Telvor lässt sich gerade nicht beenden.$\r$\n$\r$\nWahrscheinlich enthält das Fenster $\"Telvor einrichten$\" noch nicht übernommene Änderungen. Übernehmen oder verwerfen Sie sie und klicken Sie dann auf $\"Wiederholen$\"." \
    IDRETRY ask
refused:
  ${If} $2 <> 0
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  DetailPrint "Telvor läuft noch; es wurde nichts geändert."
  Abort
ended:
  ${If} $2 <> 0
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
FunctionEnd
!macroend
!insertmacro END_MONITOR ""
!insertmacro END_MONITOR "un."

; --- installer ---------------------------------------------------------------------------

; Writable, or nothing happens at all: a folder that cannot be created (its path runs
; through a file, a drive that is not there) or not written ends the installation before
; the first file. A folder created only for this test is removed again.
Function CheckWritable
  StrCpy $1 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $1 1
  ${EndIf}
  ClearErrors
  CreateDirectory "$INSTDIR"
  ${IfNot} ${Errors}
    FileOpen $0 "$INSTDIR\Telvor-Schreibtest.tmp" w
    ${IfNot} ${Errors}
      FileClose $0
      Delete "$INSTDIR\Telvor-Schreibtest.tmp"
      Return
    ${EndIf}
  ${EndIf}
  ${If} $1 = 1
    RMDir "$INSTDIR"
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP \
    "In den Ordner $\"$INSTDIR$\" kann nicht geschrieben werden.$\r$\n$\r$\nBitte wählen Sie einen anderen Ordner. Es wurde nichts installiert." \
    /SD IDOK
  Abort
FunctionEnd

Section "Telvor (Programm, Vorwahlen, Hilfe)" SecProgram
  SectionIn RO
  Call CheckWritable
  Call EndMonitor

  SetOutPath "$INSTDIR"
  File "${STAGE}\Telvor.exe"
  File "${STAGE}\TELVACT.exe"
  File "${STAGE}\AreaCode.txt"
  File "${STAGE}\AreaCode-SOURCES.txt"
  File "${STAGE}\LIESMICH.txt"
  File "${STAGE}\LICENSE.txt"
  ; The help pages are the program's: pages of an older version go.
  RMDir /r "$INSTDIR\Hilfe"
  SetOutPath "$INSTDIR\Hilfe"
  File /r "${STAGE}\Hilfe\*.*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Every shortcut works in the installation folder (the working folder is the out path).
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Telvor"
  CreateShortcut "$SMPROGRAMS\Telvor\Telvor.lnk" "$INSTDIR\Telvor.exe"
  CreateShortcut "$SMPROGRAMS\Telvor\TELVACT an.lnk" "$INSTDIR\TELVACT.exe" "/A" \
    "$INSTDIR\Telvor.exe" 0 SW_SHOWMINIMIZED "" "Anrufe wieder anzeigen"
  CreateShortcut "$SMPROGRAMS\Telvor\TELVACT aus.lnk" "$INSTDIR\TELVACT.exe" "/D" \
    "$INSTDIR\Telvor.exe" 0 SW_SHOWMINIMIZED "" "Anrufe vorübergehend nicht anzeigen"
  CreateShortcut "$SMPROGRAMS\Telvor\Hilfe.lnk" "$INSTDIR\Hilfe\index.html"
  CreateShortcut "$SMPROGRAMS\Telvor\Deinstallieren.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Telvor.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Beim Anmelden starten" SecLogon
  SetOutPath "$INSTDIR"
  CreateShortcut "${STARTUP_LINK}" "$INSTDIR\Telvor.exe"
SectionEnd

Section /o "Leitungssimulator zum Ausprobieren (Ordner Simulator)" SecSimulator
  SetOutPath "$INSTDIR\Simulator"
  File "${STAGE}\Simulator\Capi2032.dll"
  File "${STAGE}\Simulator\capisimctl.exe"
SectionEnd

Section "-Finish"
  ; Unticked components leave nothing of an earlier installation behind.
  ${IfNot} ${SectionIsSelected} ${SecLogon}
    Delete "${STARTUP_LINK}"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecSimulator}
    Delete "$INSTDIR\Simulator\Capi2032.dll"
    Delete "$INSTDIR\Simulator\capisimctl.exe"
    RMDir "$INSTDIR\Simulator"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  ; The monitor that was ended comes back, from the installation as its working folder.
  ${If} $MonitorWasRunning = 1
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Telvor.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  StrCpy $MonitorWasRunning 0
  ; A folder given with /D= that NSIS finds unusable (its path runs through a file, say) would
  ; quietly become the default folder. Asked for that folder, the installation refuses instead
  ; (CheckWritable). NSIS cuts /D= off $CMDLINE, so the process's own command line is read.
  System::Call 'kernel32::GetCommandLine() t .r0'
  ClearErrors
  ${GetOptions} $0 "/D=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 != ""
    StrCpy $INSTDIR $1
  ${EndIf}
  ; An earlier installation: its choices are the defaults. Whoever turned the start at logon
  ; off (here or in the configuration dialog) keeps it off; a simulator stays.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    ${IfNot} ${FileExists} "${STARTUP_LINK}"
      SectionSetFlags ${SecLogon} 0
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\Simulator\capisimctl.exe"
      SectionSetFlags ${SecSimulator} ${SF_SELECTED}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function StartMonitorFromFinishPage
  ${If} $MonitorWasRunning = 1
    Return  ; it runs again already
  ${EndIf}
  FindWindow $0 "${MONITOR_CLASS}" "${MONITOR_TITLE}"
  ${If} $0 = 0
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Telvor.exe"'
  ${EndIf}
FunctionEnd

; --- uninstaller -------------------------------------------------------------------------

Section "-un.Program"
  Call un.EndMonitor
  Delete "${STARTUP_LINK}"
  RMDir /r "$SMPROGRAMS\Telvor"
  Delete "$INSTDIR\Telvor.exe"
  Delete "$INSTDIR\TELVACT.exe"
  Delete "$INSTDIR\AreaCode.txt"
  Delete "$INSTDIR\AreaCode-SOURCES.txt"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\LICENSE.txt"
  RMDir /r "$INSTDIR\Hilfe"
  Delete "$INSTDIR\Simulator\Capi2032.dll"
  Delete "$INSTDIR\Simulator\capisimctl.exe"
  RMDir "$INSTDIR\Simulator"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked; a silent run never deletes the user's data.
Section /o "un.Auch meine Anruferdatenbank, Anrufliste und Einstellungen löschen" UnSecData
  Delete "$INSTDIR\CallerList.ddb"
  Delete "$INSTDIR\CallerList.bak"
  Delete "$INSTDIR\Calls.ddb"
  Delete "$INSTDIR\Calls.bak"
  Delete "$INSTDIR\Telvor.log"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orbek"
SectionEnd

Section "-un.Folder"
  ; Only when empty: whatever else the user keeps there stays.
  RMDir "$INSTDIR"
SectionEnd
