; Tarvin 2 setup: a per-user install without administrator rights.
;
; makensis -DVERSION=<a.b.c.d> -DBINDIR=<build output folder>
;          -DFILES=<generated list of programs> -DOUTFILE=<setup.exe> -DICON=<.ico> tarvin2.nsi
;
; FILES defines the macros TV_INSTALL_FILES and TV_DELETE_FILES for the programs
; the build made, and TV_HAVE_<program> for each, so that a program that is not
; built yet gets neither a file nor a shortcut.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION | BINDIR | FILES | OUTFILE | ICON
    !error "VERSION, BINDIR, FILES, OUTFILE and ICON must be defined"
!endif
!include "${FILES}"
!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Tarvin 2"
!define PUBLISHER "Norvale"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvin 2"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SUITE_KEY "Software\Norvale\Tarvin 2"
; Every program of the suite holds this mutex while it runs.
!define SUITE_MUTEX "__TVAGENT_UNINSTALL_MUTEX__"
!define STARTMENU "$SMPROGRAMS\Tarvin 2"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvin 2"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!ifdef TV_HAVE_tvagent
    !define MUI_FINISHPAGE_RUN "$INSTDIR\tvagent.exe"
    !define MUI_FINISHPAGE_RUN_TEXT "Start the Tarvin 2 Agent now"
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Refuses to go on while any program of the suite runs: its files cannot be
; replaced or removed, and the agent would write its data back after us.
!macro REFUSE_WHILE_RUNNING what
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${SUITE_MUTEX}") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_OK|MB_ICONSTOP "Tarvin 2 is running.$\r$\n$\r$\nPlease exit the Tarvin 2 Agent and close the Tarvin 2 editors, then run ${what} again." /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
!macroend

; One value of a file type, written for the user alone. First into the user's
; classes, which is what Windows reads; then through the classes root, which
; is all that Wine's shell reads. Windows sends a write through the classes
; root to the user's classes when the key is there, so this second write
; needs no administrator rights and stays per-user; under Wine it lands in
; the prefix's classes.
!macro TV_CLASS key value
    WriteRegStr HKCU "Software\Classes\${key}" "" `${value}`
    WriteRegStr HKCR "${key}" "" `${value}`
!macroend

Function .onInit
    SetShellVarContext current
    !insertmacro REFUSE_WHILE_RUNNING "Setup"
FunctionEnd

Function un.onInit
    SetShellVarContext current
    !insertmacro REFUSE_WHILE_RUNNING "the uninstaller"
FunctionEnd

Section "Tarvin 2 programs and help" SecMain
    SectionIn RO
    SetOutPath "$INSTDIR"
    !insertmacro TV_INSTALL_FILES
    File "${BINDIR}\tv2.chm"
    File "${BINDIR}\tvdt.sys"
    File "${BINDIR}\tvtip.sys"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "${STARTMENU}"
    !ifdef TV_HAVE_tvagent
        CreateShortcut "${STARTMENU}\Tarvin 2 Agent.lnk" "$INSTDIR\tvagent.exe"
    !endif
    !ifdef TV_HAVE_tvedit
        CreateShortcut "${STARTMENU}\Tarvin 2 Editor.lnk" "$INSTDIR\tvedit.exe"
    !endif
    !ifdef TV_HAVE_tvmedit
        CreateShortcut "${STARTMENU}\Tarvin 2 Menu Editor.lnk" "$INSTDIR\tvmedit.exe"
    !endif
    !ifdef TV_HAVE_tvsched
        CreateShortcut "${STARTMENU}\Tarvin 2 Scheduler.lnk" "$INSTDIR\tvsched.exe"
    !endif
    CreateShortcut "${STARTMENU}\Tarvin 2 Help.lnk" "$INSTDIR\tv2.chm"

    ; A start at logon of this copy stays only when its section is chosen again
    ; (it runs after this one).
    ReadRegStr $0 HKCU "${RUN_KEY}" "Tarvin"
    ${If} $0 == '"$INSTDIR\tvagent.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "Tarvin"
    ${EndIf}

    ; The per-user associations; the programs register the same at each start.
    !ifdef TV_HAVE_tvint
        !insertmacro TV_CLASS ".launch" "Tarvin.LaunchFile"
        !insertmacro TV_CLASS "Tarvin.LaunchFile" "Tarvin File"
        !insertmacro TV_CLASS "Tarvin.LaunchFile\shell\Open\command" '"$INSTDIR\tvint.exe" -file="%1"'
    !endif
    !ifdef TV_HAVE_tvedit
        !insertmacro TV_CLASS "Tarvin.LaunchFile\shell\Edit\command" '"$INSTDIR\tvedit.exe" -file="%1"'
    !endif
    !ifdef TV_HAVE_tvmint
        !insertmacro TV_CLASS ".menu" "Tarvin.MenuFile"
        !insertmacro TV_CLASS "Tarvin.MenuFile" "Tarvin Menu File"
        !insertmacro TV_CLASS "Tarvin.MenuFile\shell\Open\command" '"$INSTDIR\tvmint.exe" -file="%1"'
    !endif
    !ifdef TV_HAVE_tvmedit
        !insertmacro TV_CLASS "Tarvin.MenuFile\shell\Edit\command" '"$INSTDIR\tvmedit.exe" -file="%1"'
    !endif

    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
    SectionGetSize ${SecMain} $0
    WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

!ifdef TV_HAVE_tvagent
; The same value the agent's Preferences write ("Run Tarvin 2 at Logon.").
Section "Start the Tarvin 2 Agent at logon" SecLogon
    WriteRegStr HKCU "${RUN_KEY}" "Tarvin" '"$INSTDIR\tvagent.exe"'
SectionEnd
!endif

; Removes a file type only while its Open command runs a program of this
; installation, so that another copy of the suite keeps its association.
!macro DELETE_CLASS root sub ext progid
    ReadRegStr $0 ${root} "${sub}${progid}\shell\Open\command" ""
    Push $0
    Push "$INSTDIR\"
    Call un.Contains
    Pop $0
    ${If} $0 == 1
        DeleteRegKey ${root} "${sub}${progid}"
        ReadRegStr $0 ${root} "${sub}${ext}" ""
        ${If} $0 == "${progid}"
            DeleteRegKey ${root} "${sub}${ext}"
        ${EndIf}
    ${EndIf}
!macroend

; Pushes 1 when the first string (below the second on the stack) contains the
; second, ignoring case, else 0.
Function un.Contains
    Exch $1 ; needle
    Exch
    Exch $0 ; haystack
    Push $2
    Push $3
    Push $4
    Push $5
    StrLen $3 $1
    StrCpy $4 0
    StrCpy $2 0
    ${Do}
        StrCpy $5 $0 $3 $4
        ${If} $5 == ""
            ${ExitDo}
        ${EndIf}
        ${If} $5 == $1
            StrCpy $2 1
            ${ExitDo}
        ${EndIf}
        IntOp $4 $4 + 1
    ${Loop}
    StrCpy $0 $2
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Section "Uninstall"
    !insertmacro TV_DELETE_FILES
    Delete "$INSTDIR\tv2.chm"
    Delete "$INSTDIR\tvdt.sys"
    Delete "$INSTDIR\tvtip.sys"
    Delete "$INSTDIR\uninstall.exe"
    ; Not recursive: the user's files folder may have been put in here.
    RMDir "$INSTDIR"

    Delete "${STARTMENU}\Tarvin 2 Agent.lnk"
    Delete "${STARTMENU}\Tarvin 2 Editor.lnk"
    Delete "${STARTMENU}\Tarvin 2 Menu Editor.lnk"
    Delete "${STARTMENU}\Tarvin 2 Scheduler.lnk"
    Delete "${STARTMENU}\Tarvin 2 Help.lnk"
    RMDir "${STARTMENU}"

    ; The per-user associations written above, and those the programs
    ; registered for themselves through the classes root.
    !insertmacro DELETE_CLASS HKCU "Software\Classes\" ".launch" "Tarvin.LaunchFile"
    !insertmacro DELETE_CLASS HKCU "Software\Classes\" ".menu" "Tarvin.MenuFile"
    !insertmacro DELETE_CLASS HKCR "" ".launch" "Tarvin.LaunchFile"
    !insertmacro DELETE_CLASS HKCR "" ".menu" "Tarvin.MenuFile"

    ReadRegStr $0 HKCU "${RUN_KEY}" "Tarvin"
    ${If} $0 == '"$INSTDIR\tvagent.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "Tarvin"
    ${EndIf}
    DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
