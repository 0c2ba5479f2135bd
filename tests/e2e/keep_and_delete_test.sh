#!/usr/bin/env bash
# What the frame leaves on the handheld: with --no-keep the viewer deletes each picture once
# it has shown it, so nothing of the run stays; with --keep 3 and four pictures the files run
# Glimmora_001 to 003 and the fourth picture overwrites the first, so exactly three stay.
#   keep_and_delete_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/frame_scenario.sh" keep "$1" "$2"

pictures="$work/pictures"
mkdir -p "$pictures"
colours=(red orange yellow green)
for i in 1 2 3 4; do
    convert -size 480x360 "gradient:${colours[i - 1]}-navy" -fill white -draw "rectangle 20,20 $((60 * i)),80" "$pictures/p$i.jpg"
done
drive="$home/handheld/storage"
left_on_handheld() { find "$drive/My Documents" -name 'Glimmora_*.jpg' -printf '%P\n' 2>/dev/null | sort; }

# Deleted after showing: two pictures came and went.
run_frame --no-keep --order name --interval 5 --count 2 --shots "$work/deleted" "$pictures" >"$work/no-keep.out" ||
    { cat "$work/no-keep.out" >&2; fail "scripts/frame --no-keep did not end well"; }
[ "$(pictures_tsv | wc -l)" = 2 ] || fail "--no-keep: $(pictures_tsv | wc -l) pictures instead of 2"
differing=$(differing_pixels "$work/deleted/shot-001.png" "$work/deleted/shot-002.png")
[[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -gt 1000 ] || fail "--no-keep: the second picture was not shown"
[ -z "$(left_on_handheld)" ] || fail "--no-keep left pictures on the handheld: $(left_on_handheld)"

# Kept in rotation, in the same home (the frame reuses both prefixes).
run_frame --keep 3 --order name --interval 5 --count 4 "$pictures" >"$work/keep.out" ||
    { cat "$work/keep.out" >&2; fail "scripts/frame --keep 3 did not end well"; }
[ "$(pictures_tsv | wc -l)" = 4 ] || fail "--keep 3: $(pictures_tsv | wc -l) pictures instead of 4"
expected=$'Glimmora/Glimmora_001.jpg\nGlimmora/Glimmora_002.jpg\nGlimmora/Glimmora_003.jpg'
[ "$(left_on_handheld)" = "$expected" ] || fail "--keep 3 left: $(left_on_handheld | tr '\n' ' ')"
for pair in 1:4 2:2 3:3; do
    file=${pair%:*} picture=${pair#*:}
    "$picture_tool" send "$pictures/p$picture.jpg" 240 320 "$work/sent.jpg" >/dev/null
    if ! cmp -s "$drive/My Documents/Glimmora/Glimmora_00$file.jpg" "$work/sent.jpg"; then
        pictures_tsv >&2
        md5sum "$work/sent.jpg" "$drive/My Documents/Glimmora/"*.jpg >&2
        fail "--keep 3: Glimmora_00$file.jpg does not hold picture $picture"
    fi
done
echo "keep and delete: all checks passed"
