#!/usr/bin/env bash
# The calendar switch from the desktop to the handheld: with --calendar the handheld's
# screen is the plain picture everywhere but in one block at its bottom right corner, where
# the month calendar and clock darken it and draw over it.
#   calendar_overlay_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/frame_scenario.sh" calendar "$1" "$2"

pictures="$work/pictures"
mkdir -p "$pictures"
# Mid-grey with a light frame: the overlay's amber, grey and black show against it.
convert -size 480x640 xc:'#808080' -fill '#c0c0c0' -draw 'rectangle 0,0 479,40' "$pictures/grey.jpg"

run_frame --calendar --order name --interval 5 --count 1 --shots "$work/shots" "$pictures" >"$work/frame.out" ||
    { cat "$work/frame.out" >&2; fail "scripts/frame --calendar did not end well"; }
shot="$work/shots/shot-001.png"
[ -f "$shot" ] || fail "no shot"
expected_screen "$pictures/grey.jpg" 240 320 "$work/plain.png"

# The pixels that differ from the plain picture, and the box around them.
compare -fuzz 3% "$shot" "$work/plain.png" -compose src -highlight-color white -lowlight-color black \
    "$work/diff.png" 2>/dev/null || true
read -r bw bh bx by < <(convert "$work/diff.png" -threshold 50% -format '%@\n' info: | tr 'x+' '  ')
differing=$(differing_pixels "$shot" "$work/plain.png")
echo "calendar: $differing pixels differ from the plain picture, within ${bw}x${bh}+${bx}+${by}"
[[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -gt 3000 ] || fail "no calendar drawn ($differing pixels differ)"
# The block lies against the bottom right corner (a small margin off both edges) and leaves
# the top and left of the screen untouched.
right=$((bx + bw)) bottom=$((by + bh))
[ "$right" -ge 225 ] && [ "$right" -le 240 ] && [ "$bottom" -ge 305 ] && [ "$bottom" -le 320 ] ||
    fail "the differences end at $right,$bottom, not at the bottom right corner"
[ "$bx" -ge 40 ] && [ "$by" -ge 120 ] || fail "the differences reach $bx,$by: more than the calendar changed"
# The overlay is a darkened block, not a scatter: most of its box differs.
[ $((differing * 2)) -gt $((bw * bh)) ] || fail "only $differing of the block's $((bw * bh)) pixels differ"
echo "calendar overlay: all checks passed"
