#!/usr/bin/env bash
# scripts/handheld install and uninstall on a handheld of their own: the files land in
# \Program Files\Glimmora and InstalledDirPath names that folder; a desktop session then
# starts the installed viewer on its picture; a held .jpg association is
# given back at removal, which leaves no Glimmora key, no Glimmora file, and the maker's key.
#   handheld_install_test.sh SOURCE_DIR BUILD_DIR
# (the native preset's picture tool, built first by scripts/test, gives the expected screen)
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

mkdir -p "$work/bin"
cp "$build/bin/Tandrel.dll" "$build/bin/Glimmora.exe" "$work/bin/"

"$handheld" create "$hh" >/dev/null 2>&1 || fail "create"
"$handheld" start "$hh" >/dev/null 2>&1 || fail "start"
"$handheld" uninstall "$hh" 2>/dev/null && fail "uninstall without an installation succeeded"

"$handheld" install "$hh" --from "$work/bin" || fail "install"
app="$hh/storage/Program Files/Glimmora"
cmp -s "$app/Glimmora.exe" "$work/bin/Glimmora.exe" || fail "Glimmora.exe was not installed"
cmp -s "$app/Tandrel.dll" "$work/bin/Tandrel.dll" || fail "Tandrel.dll was not installed"
reg query 'HKLM\Software\Kestrova\Glimmora' /v InstalledDirPath | grep -q 'REG_SZ *\\Program Files\\Glimmora$' ||
    fail "InstalledDirPath does not name the installation folder"

# A desktop session finds the installed viewer through InstalledDirPath and starts it on the
# picture it sent: the viewer's window publishes its handle and shows the picture.
out=$(eval "$("$handheld" env "$hh")" &&
    timeout 180 "$src/scripts/wine-run" --prefix "$build/wine-prefix" -- "$build/bin/session_link_drive.exe" 1 30 1 5 0) ||
    { echo "$out" >&2; fail "the session did not deliver a picture to the installed viewer"; }
viewer_up=0
for i in $(seq 1 50); do
    if reg query 'HKCU\Software\Kestrova\Glimmora' /v RAPI_ThisHWND | grep -q REG_BINARY; then viewer_up=1; break; fi
    sleep 0.2
done
[ "$viewer_up" = 1 ] || fail "the installed Glimmora.exe did not start (no RAPI_ThisHWND)"
# The screen shows what the viewer's pipeline makes of the file the session kept there.
sleep 2
"$handheld" shot "$hh" "$work/screen.png" || fail "screenshot"
sent="$hh/storage/My Documents/Glimmora/Glimmora_001.jpg"
[ -f "$sent" ] || fail "the session kept no picture on the handheld"
"$src/build/native/bin/glimmora-picture" show "$sent" 240 320 0 0 "$work/shown.bmp" >/dev/null ||
    fail "the picture tool could not show the sent picture"
# The viewer pans a picture wider than the screen to its centre.
read -r w h < <(identify -format '%w %h\n' "$work/shown.bmp")
[ "$w" -ge 240 ] && [ "$h" -ge 320 ] || fail "the sent picture ($w x $h) no longer covers the screen"
convert "$work/shown.bmp" -crop "240x320+$(((w - 240) / 2))+$(((h - 320) / 2))" +repage "$work/expected.png"
differing=$(compare -metric AE -fuzz 3% "$work/screen.png" "$work/expected.png" null: 2>&1 || true)
echo "installed viewer: $differing of 76800 screen pixels differ from the pipeline's picture"
[[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -lt 100 ] ||
    fail "the handheld's screen does not show the sent picture ($differing pixels differ)"
# The running viewer holds its program file; it must be gone before the removal deletes it.
# Only this handheld's viewer counts: other handhelds on the machine may run a program of the
# same path.
viewer_pids() {
    local pid
    for pid in $(pgrep -f 'Program Files.Glimmora.Glimmora\.exe' || true); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$hh/prefix" && echo "$pid"
    done
    return 0
}
for i in $(seq 1 25); do
    [ -z "$(viewer_pids)" ] && break
    "$handheld" run "$hh" taskkill /f /im Glimmora.exe >/dev/null 2>&1 || true
    sleep 0.2
done
# Wine's taskkill can miss a process that is still starting; the host's kill cannot.
for pid in $(viewer_pids); do kill -9 "$pid" 2>/dev/null || true; done
for i in $(seq 1 25); do [ -z "$(viewer_pids)" ] && break; sleep 0.2; done
[ -z "$(viewer_pids)" ] || { ps -o pid,stat,args -p "$(viewer_pids | tr '\n' ',' | sed 's/,$//')" >&2; fail "the installed viewer could not be ended"; }

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
