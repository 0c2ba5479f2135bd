#!/usr/bin/env bash
# A docking launch end to end: Dockhaven.exe started with "/start" on a desktop of its own
# (scripts/desktop), auto start with delay 0, reaching an emulated handheld (scripts/handheld)
# through the real rapi.dll; the pictures must arrive on the handheld's disk and the viewer
# must be started. Then "/close" from a second copy ends it.
#   docking_start_test.sh SOURCE_DIR BUILD_DIR POINTER_BYTES
set -euo pipefail
src=$1
build=$2
bits=$3
handheld="$src/scripts/handheld"
desktop="$src/scripts/desktop"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-docking.XXXXXX")
hh="$work/hh"
dk="$work/dk"
export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"
export GLIMMORA_DOCKHAVEN="$build/bin/Dockhaven.exe"
view=/reg:64
[ "$bits" = 4 ] && view=/reg:32

cleanup() {
    "$desktop" stop "$dk" >/dev/null 2>&1 || true
    "$handheld" stop "$hh" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$handheld" create "$hh" --size 240x320 >/dev/null 2>&1 || fail "handheld create"
"$handheld" start "$hh" 2>/dev/null || fail "handheld start"
drive="$hh/storage"
mkdir -p "$drive/Program Files/Glimmora"
cp "$build/bin/remote_test_child.exe" "$drive/Program Files/Glimmora/Glimmora.exe"
timeout 60 "$handheld" run "$hh" reg add 'HKLM\Software\Kestrova\Glimmora' /v InstalledDirPath /t REG_SZ \
    /d '\Program Files\Glimmora' /f $view >/dev/null 2>&1 || fail "writing InstalledDirPath"

"$desktop" create "$dk" >/dev/null 2>&1 || fail "desktop create"
pictures="$dk/prefix/drive_c/Pictures"
mkdir -p "$pictures"
convert -size 640x480 gradient:red-blue "$pictures/one.jpg"
convert -size 480x640 gradient:green-yellow "$pictures/two.jpg"
key='HKCU\Software\Kestrova\Glimmora'
reg() { timeout 60 "$desktop" run "$dk" reg "$@" $view >/dev/null 2>&1; }
reg add "$key" /v ImageFolderPath /t REG_SZ /d 'C:\Pictures\' /f || fail "writing ImageFolderPath"
reg add "$key" /v AutoStart /t REG_DWORD /d 1 /f || fail "writing AutoStart"
reg add "$key" /v AutoStartDelay /t REG_DWORD /d 0 /f || fail "writing AutoStartDelay"
reg add "$key" /v PictureChangeInterval /t REG_DWORD /d 5 /f || fail "writing PictureChangeInterval"
reg add "$key" /v FileSortBy /t REG_DWORD /d 1 /f || fail "writing FileSortBy"

"$desktop" start "$dk" --handheld "$hh" /start 2>/dev/null || fail "desktop start"
kept="$drive/My Documents/Glimmora"
for i in $(seq 1 90); do
    [ -f "$kept/Glimmora_002.jpg" ] && break
    sleep 1
done
[ -f "$kept/Glimmora_001.jpg" ] || fail "no picture arrived on the handheld"
[ -f "$kept/Glimmora_002.jpg" ] || fail "the second picture did not arrive"
identify "$kept/Glimmora_001.jpg" >/dev/null 2>&1 || fail "picture 1 is not a JPEG"
report=$(find "$drive" -name child-ran.txt | head -n 1)
[ -n "$report" ] || fail "the viewer was not started"
"$desktop" shot "$dk" "$work/shot.png" || fail "screenshot"

timeout 60 "$desktop" run "$dk" "$GLIMMORA_DOCKHAVEN" /close || fail "/close did not end at once"
pid=$(cat "$dk/run/dockhaven.pid")
for i in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
done
! kill -0 "$pid" 2>/dev/null || fail "/close did not end the running copy"
echo "docking start: all checks passed"
