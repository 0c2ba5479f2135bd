#!/usr/bin/env bash
# The road of one picture through the whole frame: scripts/frame in a home of its own sends a
# folder made here in name order; each desktop file is reported with its sizes, arrives on
# the handheld byte for byte as the desktop pipeline encodes it, and the handheld's screen
# shows what the viewer's pipeline makes of it. The frame ends by itself after --count,
# leaving no process behind.
#   road_of_one_picture_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/frame_scenario.sh" road "$1" "$2"

pictures="$work/pictures"
mkdir -p "$pictures"
# Names sort a, "b two", c; a landscape, a portrait narrower than the screen, one more.
convert -size 640x480 gradient:red-blue -fill white -draw 'circle 320,240 320,330' "$pictures/a.jpg"
convert -size 200x300 pattern:checkerboard -fill yellow -draw 'rectangle 20,20 120,200' "$pictures/b two.jpg"
convert -size 800x600 gradient:green-black "$pictures/c.jpg"

out=$(run_frame --order name --interval 5 --count 2 --shots "$work/shots" "$pictures") ||
    { echo "$out" >&2; fail "scripts/frame did not end well"; }
echo "$out"
grep -q '^frame: 2 pictures sent; the first on the handheld' <<<"$out" || fail "no summary of two pictures"

rows=$(pictures_tsv)
[ "$(wc -l <<<"$rows")" = 2 ] || fail "the frame recorded $(wc -l <<<"$rows") pictures, not 2"
kept="$home/handheld/storage/My Documents/Glimmora"
n=0
for name in a.jpg "b two.jpg"; do
    n=$((n + 1))
    IFS=$'\t' read -r number _ _ source before after ms shot < <(sed -n "${n}p" <<<"$rows")
    [ "$source" = "$pictures/$name" ] || fail "picture $n was $source, not $pictures/$name (name order)"
    grep -qF "$source  $before -> $after  sent in $ms ms" <<<"$out" || fail "no progress line for $name"
    [ "$before" = "$(identify -format '%wx%h' "$source")" ] || fail "$name: size before fitting $before"
    "$picture_tool" send "$source" 240 320 "$work/sent-$n.jpg" >/dev/null
    [ "$after" = "$(identify -format '%wx%h' "$work/sent-$n.jpg")" ] || fail "$name: size after fitting $after"
    sent_file=$(printf '%s/Glimmora_%03d.jpg' "$kept" "$n")
    cmp -s "$sent_file" "$work/sent-$n.jpg" || fail "$sent_file is not the desktop pipeline's JPEG of $name"
    [ "$shot" = "$(printf '%s/shot-%03d.png' "$work/shots" "$n")" ] && [ -f "$shot" ] || fail "no shot $n"
    expected_screen "$source" 240 320 "$work/expected-$n.png"
    differing=$(differing_pixels "$shot" "$work/expected-$n.png")
    echo "picture $n ($name): $differing of 76800 screen pixels differ from the pipeline's picture"
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -lt 100 ] ||
        fail "the handheld's screen does not show $name ($differing pixels differ)"
done
[ -f "$work/shots/contact-sheet.png" ] || fail "no contact sheet"
[ ! -e "$work/shots/shot-003.png" ] || fail "a third shot after --count 2"
echo "road of one picture: all checks passed"
