#!/usr/bin/env bash
# Screenshots of the options, settings and folder picker dialogs on a 240 x 320 handheld,
# for the README: a handheld of its own with a few folders of pictures, each dialog shown by
# dialog-preview and photographed while it is up, then closed by dialog-preview itself.
#   dialog_shots.sh SOURCE_DIR BUILD_DIR OUT_DIR
set -euo pipefail
src=$1
build=$2
out=$3
handheld="$src/scripts/handheld"
export GLIMMORA_WINDOWS_PRESET=$(basename "$build")
export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-dialog-shots.XXXXXX")
hh="$work/hh"
cleanup() {
    "$handheld" stop "$hh" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"

"$handheld" create "$hh" --size 240x320 >/dev/null 2>&1
"$handheld" start "$hh" >/dev/null 2>&1
# Xvfb has no window manager to draw captions: Wine draws them itself.
"$handheld" run "$hh" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
docs="$hh/storage/My Documents"
mkdir -p "$docs/Trip (2005)" "$docs/Trip/Day 1" "$docs/Home"
for n in 1 2 3 4; do : >"$docs/Trip (2005)/$n.jpg"; done
for n in 1 2 3; do : >"$docs/Trip/$n.jpg"; done

shoot() {
    local name=$1
    shift
    "$handheld" run "$hh" "$build/bin/dialog-preview.exe" 6 "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 4
    "$handheld" shot "$hh" "$out/$name.png"
    wait "$pid" || true
    echo "$out/$name.png"
}
shoot dialog-options options
shoot dialog-settings settings
shoot dialog-picker picker '\My Documents\Trip (2005)'
