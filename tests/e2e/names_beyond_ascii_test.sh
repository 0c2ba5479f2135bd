#!/usr/bin/env bash
# Names beyond ASCII through the whole frame: a folder with Café.jpg, Ærø.jpg (bytes of the
# desktop's code page), 日本の海.jpg (outside it: reached through its short alias), a broken
# file and a subfolder, sent in name order with --count 4. The frame prints four progress
# lines with the real names, exactly four pictures reach the handheld, and each shot shows
# what the pipelines make of its picture.
#   names_beyond_ascii_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/frame_scenario.sh" names "$1" "$2"

pictures="$work/pictures"
mkdir -p "$pictures/sub"
convert -size 640x480 gradient:red-blue -fill white -draw 'circle 320,240 320,330' "$pictures/Café.jpg"
convert -size 800x600 gradient:green-black -fill yellow -draw 'rectangle 40,40 300,200' "$pictures/Ærø.jpg"
convert -size 300x400 gradient:orange-navy -fill white -draw 'circle 150,200 150,260' "$pictures/日本の海.jpg"
echo 'not a JPEG' >"$pictures/broken.jpg"
convert -size 500x300 pattern:checkerboard "$pictures/sub/zz last.jpg"

out=$(run_frame --order name --interval 5 --count 4 --keep 10 --shots "$work/shots" "$pictures") ||
    { echo "$out" >&2; fail "scripts/frame did not end well"; }
echo "$out"
grep -q '^frame: 4 pictures sent; the first on the handheld' <<<"$out" || fail "no summary of four pictures"
[ "$(grep -c '^frame: *[0-9]\+  ' <<<"$out")" = 4 ] || fail "not four progress lines"
grep -q 'could not be read' <<<"$out" && fail "a delivery line was not understood"

rows=$(pictures_tsv)
[ "$(wc -l <<<"$rows")" = 4 ] || fail "the frame recorded $(wc -l <<<"$rows") pictures, not 4"
kept="$home/handheld/storage/My Documents/Glimmora"
delivered=$(find "$kept" -maxdepth 1 -name 'Glimmora_*.jpg' | wc -l)
[ "$delivered" = 4 ] || fail "$delivered pictures reached the handheld, not 4"

n=0
seen=()
while IFS=$'\t' read -r number _ _ source before after ms shot; do
    n=$((n + 1))
    seen+=("$(basename "$source")")
    [ -f "$source" ] || fail "picture $n: $source is not a file of the folder (the name came back wrong)"
    grep -qF "frame: $(printf '%3d' "$n")  $source  $before -> $after  sent in $ms ms" <<<"$out" ||
        fail "no progress line with the real name $source"
    [ "$before" = "$(identify -format '%wx%h' "$source")" ] || fail "$source: size before fitting $before"
    "$picture_tool" send "$source" 240 320 "$work/sent-$n.jpg" >/dev/null
    [ "$after" = "$(identify -format '%wx%h' "$work/sent-$n.jpg")" ] || fail "$source: size after fitting $after"
    cmp -s "$(printf '%s/Glimmora_%03d.jpg' "$kept" "$n")" "$work/sent-$n.jpg" ||
        fail "Glimmora_$(printf '%03d' "$n").jpg is not the desktop pipeline's JPEG of $source"
    expected_screen "$source" 240 320 "$work/expected-$n.png"
    differing=$(differing_pixels "$shot" "$work/expected-$n.png")
    echo "picture $n ($(basename "$source")): $differing of 76800 screen pixels differ from the pipeline's picture"
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -lt 100 ] ||
        fail "the handheld's screen does not show $source ($differing pixels differ)"
done <<<"$rows"

# Name order over the four good pictures, the broken one skipped: each is sent once.
for name in Café.jpg Ærø.jpg 日本の海.jpg "zz last.jpg"; do
    printf '%s\n' "${seen[@]}" | grep -qxF "$name" || fail "$name was not among the four pictures (${seen[*]})"
done
echo "names beyond ASCII: all checks passed"
