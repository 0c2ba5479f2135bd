#!/usr/bin/env bash
# scripts/handheld install and uninstall on a handheld of their own: the files land in
# \Program Files\Glimmora and InstalledDirPath names that folder; a held .jpg association is
# given back at removal, which leaves no Glimmora key, no Glimmora file, and the maker's key.
#   handheld_install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
handheld="$src/scripts/handheld"
export GLIMMORA_WINDOWS_PRESET=$(basename "$build")
export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-install-test.XXXXXX")
hh="$work/hh"

cleanup() {
    "$handheld" stop "$hh" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# reg.exe in the registry view of the build's programs (plain reg may be the other one).
case "$GLIMMORA_WINDOWS_PRESET" in win64) view=/reg:64 ;; *) view=/reg:32 ;; esac
reg() { "$handheld" run "$hh" reg "$@" "$view" 2>/dev/null | tr -d '\r'; }

# The viewer when it is built; until then any program stands in for it.
mkdir -p "$work/bin"
cp "$build/bin/Tandrel.dll" "$work/bin/"
if [ -f "$build/bin/Glimmora.exe" ]; then
    cp "$build/bin/Glimmora.exe" "$work/bin/"
else
    cp "$build/bin/installer-runner.exe" "$work/bin/Glimmora.exe"
fi

"$handheld" create "$hh" >/dev/null 2>&1 || fail "create"
"$handheld" start "$hh" >/dev/null 2>&1 || fail "start"
"$handheld" uninstall "$hh" 2>/dev/null && fail "uninstall without an installation succeeded"

"$handheld" install "$hh" --from "$work/bin" || fail "install"
app="$hh/prefix/drive_c/Program Files/Glimmora"
cmp -s "$app/Glimmora.exe" "$work/bin/Glimmora.exe" || fail "Glimmora.exe was not installed"
cmp -s "$app/Tandrel.dll" "$work/bin/Tandrel.dll" || fail "Tandrel.dll was not installed"
reg query 'HKLM\Software\Kestrova\Glimmora' /v InstalledDirPath | grep -q 'REG_SZ *\\Program Files\\Glimmora$' ||
    fail "InstalledDirPath does not name the installation folder"

# The viewer holds the .jpg association; the picture viewer's command is saved.
reg add 'HKCR\.jpg' /ve /d glimmoratestjpeg /f >/dev/null
reg add 'HKCR\glimmoratestjpeg\Shell\Open\Command' /ve /d '"\Program Files\Glimmora\Glimmora.exe" %1' /f >/dev/null
reg add 'HKCR\glimmoratestjpeg\DefaultIcon' /ve /d '\Program Files\Glimmora\Glimmora.exe,0' /f >/dev/null
reg add 'HKCU\Software\Kestrova\Glimmora' /v Old_ShellOpenCommand /d 'pimg.exe "%1"' /f >/dev/null
reg add 'HKCU\Software\Kestrova\Glimmora' /v Old_DefaultIcon /d 'pimg.exe,-101' /f >/dev/null
reg add 'HKCU\Software\Kestrova\Glimmora' /v Options /t REG_DWORD /d 1 /f >/dev/null

"$handheld" uninstall "$hh" || fail "uninstall"
[ -e "$app" ] && fail "the installation folder is still there: $(ls -A "$app")"
reg query 'HKCR\glimmoratestjpeg\Shell\Open\Command' /ve | grep -q 'pimg.exe "%1"' || fail "the open command was not given back"
reg query 'HKCR\glimmoratestjpeg\DefaultIcon' /ve | grep -q 'pimg.exe,-101' || fail "the icon was not given back"
reg query 'HKCU\Software\Kestrova\Glimmora' >/dev/null 2>&1 && fail "HKCU Glimmora key left"
reg query 'HKLM\Software\Kestrova\Glimmora' >/dev/null 2>&1 && fail "HKLM Glimmora key left"
reg query 'HKCU\Software\Kestrova' >/dev/null || fail "HKCU Software\\Kestrova was removed"
reg query 'HKLM\Software\Kestrova' >/dev/null || fail "HKLM Software\\Kestrova was removed"
echo "handheld install and uninstall: ok"
