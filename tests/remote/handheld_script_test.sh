#!/usr/bin/env bash
# scripts/handheld end to end: create a handheld of a non-default size, start it, reach it from
# a desktop-side program in this build's prefix through rapi.dll (all fifteen calls, checked on
# the handheld's disk), refuse a wrong secret, screenshot, tap, key and run, then stop it and
# leave no process behind.
#   handheld_script_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
handheld="$src/scripts/handheld"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-handheld-test.XXXXXX")
hh="$work/hh"
export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"

cleanup() {
    "$handheld" stop "$hh" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$hh/run/agent.log" ] && tail -n 20 "$hh/run/agent.log" >&2; exit 1; }
# A program on the desktop side (this build's prefix), given at most SECONDS.
desktop() { local seconds=$1; shift; timeout "$seconds" "$src/scripts/wine-run" --prefix "$build/wine-prefix" -- "$@"; }

"$handheld" create "$hh" --size 320x240 || fail "create"
[ "$(stat -c %a "$hh/secret")" = 600 ] || fail "the secret is readable by others"
"$handheld" create "$hh" 2>/dev/null && fail "create over an existing handheld succeeded"
"$handheld" start "$hh" || fail "start"

drive="Z:$(printf '%s' "$hh/storage" | tr '/' '\\')"
out=$(eval "$("$handheld" env "$hh")" && desktop 120 "$build/bin/rapi-exercise.exe" --check-root "$drive") ||
    { echo "$out" >&2; fail "rapi-exercise against the handheld"; }
echo "$out"
grep -q "screen 320 x 240" <<<"$out" || fail "the handheld's screen size did not reach the desktop side"

if (eval "$("$handheld" env "$hh")" && GLIMMORA_RAPI_SECRET=0123456789abcdef-wrong desktop 60 \
    "$build/bin/rapi-exercise.exe" >/dev/null 2>&1); then
    fail "a wrong secret was accepted"
fi
grep -q "wrong pairing secret" "$hh/run/agent.log" || fail "the refusal was not logged"

"$handheld" shot "$hh" "$work/shot.png" || fail "shot"
[ "$(identify -format '%wx%h' "$work/shot.png")" = 320x240 ] || fail "screenshot is not 320x240"
"$handheld" tap "$hh" 300 200 || fail "tap"
[ "$(DISPLAY=$(cat "$hh/run/display") xdotool getmouselocation --shell | grep -E '^[XY]=' | tr '\n' ' ')" = "X=300 Y=200 " ] ||
    fail "the tap did not land at 300,200"
"$handheld" tap "$hh" 320 10 2>/dev/null && fail "a tap off the screen was accepted"
"$handheld" key "$hh" Escape || fail "key"
"$handheld" key "$hh" 'a;b' 2>/dev/null && fail "a malformed key name was accepted"
# A program run there sees the handheld's storage as \ and keeps its temporary files in it.
timeout 60 "$handheld" run "$hh" cmd /c 'echo ran> \ran-by-script.txt & echo ran> %TEMP%\by-script.tmp' || fail "run"
[ -f "$hh/storage/ran-by-script.txt" ] || fail "run did not run on the handheld's storage"
[ -f "$hh/storage/Temp/by-script.tmp" ] || fail "the handheld's temporary folder is not its \Temp"

xvfb=$(cat "$hh/run/xvfb.pid")
agent=$(cat "$hh/run/agent.pid")
"$handheld" stop "$hh" || fail "stop"
sleep 1
for p in $xvfb $agent; do
    if [ -d "/proc/$p" ] && ! grep -q '^State:.*Z' "/proc/$p/status"; then fail "process $p outlived stop"; fi
done
# Any live process still running in the handheld's prefix?
for e in /proc/[0-9]*/environ; do
    pid=${e#/proc/}
    pid=${pid%/environ}
    if tr '\0' '\n' <"$e" 2>/dev/null | grep -qxF "WINEPREFIX=$hh/prefix" &&
        ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; then
        fail "process $pid of the handheld's prefix outlived stop"
    fi
done
"$handheld" shot "$hh" "$work/late.png" 2>/dev/null && fail "shot of a stopped handheld succeeded"
echo "handheld script: all checks passed"
