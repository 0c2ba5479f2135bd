; Dockhaven's installer: Dockhaven.exe and its note into Program Files, a Start-menu entry,
; and an uninstaller registered under the Uninstall key that takes all of it away again.
; rapi.dll is not installed: the program loads the platform's copy (ActiveSync) at run time.
;
;   makensis -DVERSION=1.3.0 -DARCH=x86|x64 -DDOCKHAVEN=.../Dockhaven.exe
;            -DNOTE=.../dockhaven-readme.txt -DOUTFILE=.../setup.exe dockhaven.nsi
;
; ARCH x86 makes the 32-bit installer that ships; x64 makes a 64-bit one for the x86-64 build,
; which installs into the 64-bit Program Files and writes the 64-bit registry view.

!macro REQUIRE NAME
    !ifndef ${NAME}
        !error "dockhaven.nsi needs -D${NAME}=..."
    !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE ARCH
!insertmacro REQUIRE DOCKHAVEN
!insertmacro REQUIRE NOTE
!insertmacro REQUIRE OUTFILE

!if "${ARCH}" == "x64"
    Target amd64-unicode
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else if "${ARCH}" == "x86"
    Target x86-unicode
    !define PROGRAM_FILES "$PROGRAMFILES"
!else
    !error "ARCH must be x86 or x64, not ${ARCH}"
!endif

!define PRODUCT "Glimmora Desktop Image Server"
!define MAKER "Kestrova"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dockhaven"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Dockhaven"
; An update goes where the last installation went (and finds its running copy there).
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${MAKER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running copy holds its program file, so neither an update nor a removal could replace or
; delete it. "Dockhaven.exe /close" hands the close to the running copy and returns at once;
; that copy then stops its session and ends, and only then does its file come free. A copy
; that does not end within ten seconds stops the installer rather than leave a half-done
; folder behind.
!macro DEFINE_CLOSE_RUNNING_COPY PREFIX
Function ${PREFIX}CloseRunningCopy
    IfFileExists "$INSTDIR\Dockhaven.exe" 0 done
    ExecWait '"$INSTDIR\Dockhaven.exe" /close'
    StrCpy $0 0
    retry:
        ClearErrors
        Delete "$INSTDIR\Dockhaven.exe"
        IfErrors 0 done
        IntOp $0 $0 + 1
        IntCmp $0 100 stuck
        Sleep 100
        Goto retry
    stuck:
        MessageBox MB_OK|MB_ICONSTOP "Dockhaven.exe in $INSTDIR is still running and could not be ended.$\nEnd it from its notification-area icon (Exit) and run this setup again." /SD IDOK
        SetErrorLevel 2
        Quit
    done:
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_COPY ""
!insertmacro DEFINE_CLOSE_RUNNING_COPY "un."

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Dockhaven"
    SetOutPath "$INSTDIR"
    Call CloseRunningCopy
    File "/oname=Dockhaven.exe" "${DOCKHAVEN}"
    File "/oname=ReadMe.txt" "${NOTE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "${SHORTCUT}" "$INSTDIR\Dockhaven.exe" "" "$INSTDIR\Dockhaven.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Dockhaven.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Takes away exactly what the installer put there. The user's settings
; (HKEY_CURRENT_USER\Software\Kestrova\Glimmora) stay, as they would for a reinstall.
Section "Uninstall"
    Call un.CloseRunningCopy  ; which deletes Dockhaven.exe once it is free
    Delete "$INSTDIR\ReadMe.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
