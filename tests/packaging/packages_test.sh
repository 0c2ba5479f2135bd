#!/usr/bin/env bash
# The packages a user gets, checked as a user would meet them. The build target `package`
# is brought up to date first; then
#   - the handheld zip holds exactly Glimmora.exe, Tandrel.dll and INSTALL.txt, equal to the
#     built files;
#   - Dockhaven's installer is built for the right processor and, run silently (/S) in a new
#     Wine prefix, puts Dockhaven.exe (and no rapi.dll) into Program Files, a Start-menu
#     shortcut to it and an entry under the Uninstall key;
#   - the installed program starts, and a second run of the installer ends it (through
#     "Dockhaven.exe /close") and updates in place;
#   - the silent uninstaller ends a running copy and leaves no file, shortcut or key behind.
#   packages_test.sh SOURCE_DIR BUILD_DIR VERSION
# Exit status 77 (skipped) for the 32-bit build where this machine cannot run 32-bit programs.
set -euo pipefail
src=$1
build=$2
version=$3
preset=$(basename "$build")
case "$preset" in
    win32) arch=x86 machine=014c view=/reg:32 programs='Program Files (x86)' ;;
    win64) arch=x64 machine=8664 view=/reg:64 programs='Program Files' ;;
    *) echo "packages_test: $build is not a win32 or win64 build" >&2; exit 2 ;;
esac
setup="$build/package/Dockhaven-setup-$version-$arch.exe"
zip="$build/package/Glimmora-handheld-$version-$arch.zip"
wine_run="$src/scripts/wine-run"

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $* ($SECONDS s)"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-packages.XXXXXX")
prefix="$work/prefix"
cleanup() {
    "$wine_run" --prefix "$prefix" --stop >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

step "building the packages"
cmake --build "$build" --target package >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "the package target did not build"; }
[ -f "$setup" ] || fail "no installer at $setup"
[ -f "$zip" ] || fail "no handheld zip at $zip"

step "the handheld zip"
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listing" = "Glimmora.exe INSTALL.txt Tandrel.dll " ] || fail "$zip holds: $listing"
mkdir "$work/unzipped"
unzip -q "$zip" -d "$work/unzipped"
cmp "$work/unzipped/Glimmora.exe" "$build/bin/Glimmora.exe" || fail "the zip's Glimmora.exe is not the built one"
cmp "$work/unzipped/Tandrel.dll" "$build/bin/Tandrel.dll" || fail "the zip's Tandrel.dll is not the built one"
cmp "$work/unzipped/INSTALL.txt" "$build/packaging/handheld/INSTALL.txt" || fail "the zip's INSTALL.txt is not the note"
grep -q "Glimmora $version for the handheld" "$work/unzipped/INSTALL.txt" || fail "INSTALL.txt does not name version $version"

# The PE header's machine field: an installer of the wrong kind would not run where its
# program does.
pe=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
found=$(od -An -tx2 -j$((pe + 4)) -N2 "$setup" | tr -d ' ')
[ "$found" = "$machine" ] || fail "$setup is built for machine $found, not $machine"

if [ "$preset" = win32 ] && ! "$src/scripts/wine" --can-run-32bit; then
    echo "packages_test: the x86 installer was not run, this machine cannot execute 32-bit programs"
    exit 77
fi

# Wine's menu builder turns Start-menu shortcuts into the host's menu entries under HOME:
# those land in the scratch folder, not in the user's home.
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"

step "a new Wine prefix"
"$wine_run" --prefix "$prefix" --start >/dev/null 2>&1 || fail "the Wine prefix could not be made in $prefix"
drive="$prefix/drive_c"
win() { "$wine_run" --prefix "$prefix" -- "$@"; }
reg() { win reg "$@" "$view" 2>/dev/null | tr -d '\r'; }
app="$drive/$programs/Dockhaven"
app_win="C:\\$programs\\Dockhaven"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Glimmora Desktop Image Server.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dockhaven'
settings_key='HKCU\Software\Kestrova\Glimmora'

# Dockhaven.exe started from the installation in the background; its exit status lands in
# $work/dockhaven.rc when it ends. It is up once its window has published its handle.
start_dockhaven() {
    rm -f "$work/dockhaven.rc"
    (
        rc=0
        win "$app_win\\Dockhaven.exe" </dev/null >>"$work/dockhaven.log" 2>&1 || rc=$?
        echo "$rc" >"$work/dockhaven.rc"
    ) &
    for i in $(seq 1 50); do
        reg query "$settings_key" /v ActiveWindowHandle | grep -q REG_BINARY && return 0
        [ -f "$work/dockhaven.rc" ] && fail "the installed Dockhaven.exe ended at start: $(cat "$work/dockhaven.log")"
        sleep 0.2
    done
    fail "the installed Dockhaven.exe did not open its window"
}
# Waits for the copy started last to end, and checks that it ended well and took back the
# handle it published.
dockhaven_ended() {
    for i in $(seq 1 50); do
        [ -f "$work/dockhaven.rc" ] && break
        sleep 0.2
    done
    [ -f "$work/dockhaven.rc" ] || fail "$1: Dockhaven.exe still runs"
    [ "$(cat "$work/dockhaven.rc")" = 0 ] || fail "$1: Dockhaven.exe ended with status $(cat "$work/dockhaven.rc")"
    reg query "$settings_key" /v ActiveWindowHandle >/dev/null &&
        fail "$1: Dockhaven.exe ended without removing ActiveWindowHandle"
    return 0
}

step "silent installation"
win "$setup" /S || fail "the silent installation failed (status $?)"
cmp "$app/Dockhaven.exe" "$build/bin/Dockhaven.exe" || fail "Dockhaven.exe was not installed in $app"
[ -f "$app/Uninstall.exe" ] || fail "no uninstaller in $app"
grep -q "Glimmora Desktop Image Server $version" "$app/ReadMe.txt" || fail "no note for version $version in $app"
installed=$(cd "$app" && ls | sort | tr '\n' ' ')
[ "$installed" = "Dockhaven.exe ReadMe.txt Uninstall.exe " ] || fail "$app holds: $installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut ($shortcut)"
grep -aqF "$app_win\\Dockhaven.exe" "$shortcut" || fail "the Start-menu shortcut does not start $app_win\\Dockhaven.exe"
entry=$(reg query "$uninstall_key") || fail "no entry under $uninstall_key"
expect_value() {
    grep -qxF "    $1    $2    $3" <<<"$entry" || fail "$uninstall_key: $1 is not $2 '$3'; the entry: $entry"
}
expect_value DisplayName REG_SZ "Glimmora Desktop Image Server"
expect_value DisplayVersion REG_SZ "$version"
expect_value InstallLocation REG_SZ "$app_win"
expect_value UninstallString REG_SZ "\"$app_win\\Uninstall.exe\""
expect_value QuietUninstallString REG_SZ "\"$app_win\\Uninstall.exe\" /S"

# The installed program starts; the installer's "Dockhaven.exe /close" must end it before
# the program file is replaced.
step "installing again over a running copy"
start_dockhaven
win "$setup" /S || fail "installing over a running Dockhaven failed (status $?)"
dockhaven_ended "installing over a running copy"
cmp "$app/Dockhaven.exe" "$build/bin/Dockhaven.exe" || fail "the second installation left no Dockhaven.exe"

step "silent removal while the program runs"
start_dockhaven
# The uninstaller runs a copy of itself from the temporary folder and returns at once.
win "$app_win\\Uninstall.exe" /S || fail "the uninstaller failed (status $?)"
for i in $(seq 1 100); do
    [ -e "$app" ] || break
    sleep 0.2
done
[ -e "$app" ] && fail "$app is still there after the removal: $(ls -A "$app")"
dockhaven_ended "the removal"
[ -e "$shortcut" ] && fail "the Start-menu shortcut is still there"
for i in $(seq 1 20); do
    reg query "$uninstall_key" >/dev/null || break
    sleep 0.2
done
reg query "$uninstall_key" >/dev/null && fail "$uninstall_key is still there"
step "packages: all checks passed"
