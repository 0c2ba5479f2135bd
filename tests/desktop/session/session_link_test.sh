#!/usr/bin/env bash
# The session thread against the real link and an emulated handheld: a viewer stand-in
# installed where InstalledDirPath says, two pictures sent with pictures kept, then checked on
# the handheld's disk (files, sizes), in its registry (the handshake's values) and in what
# the launched program was given.
#   session_link_test.sh SOURCE_DIR BUILD_DIR POINTER_BYTES
set -euo pipefail
src=$1
build=$2
bits=$3
handheld="$src/scripts/handheld"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-session-link.XXXXXX")
hh="$work/hh"
# The agent of the build under test; its registry view is the one the values go into.
export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"
view=/reg:64
[ "$bits" = 4 ] && view=/reg:32

cleanup() {
    "$handheld" stop "$hh" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$hh/run/agent.log" ] && tail -n 20 "$hh/run/agent.log" >&2; exit 1; }

"$handheld" create "$hh" --size 240x320 >/dev/null 2>&1 || fail "create"
"$handheld" start "$hh" 2>/dev/null || fail "start"
drive="$hh/storage"
mkdir -p "$drive/Program Files/Glimmora"
cp "$build/bin/remote_test_child.exe" "$drive/Program Files/Glimmora/Glimmora.exe"
timeout 60 "$handheld" run "$hh" reg add 'HKLM\Software\Kestrova\Glimmora' /v InstalledDirPath /t REG_SZ \
    /d '\Program Files\Glimmora' /f $view >/dev/null 2>&1 || fail "writing InstalledDirPath"
# A stop left over from an earlier slideshow: the session's first connection clears it.
timeout 60 "$handheld" run "$hh" reg add 'HKCU\Software\Kestrova\Glimmora' /v RAPI_StopSlideshow /t REG_DWORD \
    /d 1 /f $view >/dev/null 2>&1 || fail "writing RAPI_StopSlideshow"

out=$(eval "$("$handheld" env "$hh")" &&
    timeout 180 "$src/scripts/wine-run" --prefix "$build/wine-prefix" -- "$build/bin/session_link_drive.exe" 2 1 1 5 1) ||
    { echo "$out" >&2; fail "the session did not deliver two pictures"; }
echo "$out"

kept="$drive/My Documents/Glimmora"
for n in 001 002; do
    [ -f "$kept/Glimmora_$n.jpg" ] || fail "Glimmora_$n.jpg is not on the handheld"
done
[ "$(identify -format '%wx%h' "$kept/Glimmora_001.jpg")" = 426x320 ] || fail "picture 1 was not fitted to 426 x 320"
[ "$(identify -format '%wx%h' "$kept/Glimmora_002.jpg")" = 426x320 ] || fail "picture 2 was not fitted to 426 x 320"
[ ! -e "$kept/Glimmora_003.jpg" ] || fail "a third picture was sent"

report=$(find "$drive" -name child-ran.txt | head -n 1)
[ -n "$report" ] || fail "the viewer stand-in was not started"
args=$(iconv -f UTF-16LE -t UTF-8 "$report" | sed -n 's/^args=//p' | tr -d '\r')
[ "$args" = '\My Documents\Glimmora\Glimmora_002.jpg /6' ] || fail "the viewer was started with '$args'"

query() {
    timeout 60 "$handheld" run "$hh" reg query 'HKCU\Software\Kestrova\Glimmora' /v "$1" $view 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { print $3 }'
}
[ "$(query RAPI_StopSlideshow)" = 0x0 ] || fail "RAPI_StopSlideshow was not cleared"
[ "$(query ShowCalendar)" = 0x1 ] || fail "ShowCalendar was not written"
echo "session link: all checks passed"
