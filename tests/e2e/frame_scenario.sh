# Sourced by the scenarios that run the whole frame (scripts/frame) in a home of their own:
#   . frame_scenario.sh NAME SOURCE_DIR BUILD_DIR
# gives $src, $build, $work (a temp folder, removed at the end), $home (the frame's home
# inside it), run_frame, expected_screen, differing_pixels, leftover_processes and fail; the
# frame is stopped and its processes checked gone however the scenario ends.
scenario=$1
src=$2
build=$3
export GLIMMORA_WINDOWS_PRESET
GLIMMORA_WINDOWS_PRESET=$(basename "$build")
frame="$src/scripts/frame"
picture_tool="$src/build/native/bin/glimmora-picture"
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-$scenario.XXXXXX")
home="$work/home"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Processes of this home: every process the frame starts (both screens, both wineservers,
# the programs) carries its home's WINEPREFIX.
leftover_processes() {
    { grep -lsF "WINEPREFIX=$home/" /proc/[0-9]*/environ 2>/dev/null || true; } | cut -d/ -f3 | sort -u | tr '\n' ' '
}

frame_scenario_end() {
    local rc=$?
    "$frame" stop --home "$home" >/dev/null 2>&1 || true
    local left
    left=$(leftover_processes)
    if [ -n "$left" ]; then
        echo "FAIL: processes of $home left after the frame: $left" >&2
        ps -o pid,args -p ${left// /,} >&2 || true
        rc=1
    fi
    rm -rf "$work"
    exit "$rc"
}
trap frame_scenario_end EXIT

# The frame headless, on the build under test, without the set-up's build check.
run_frame() {
    (unset DISPLAY && timeout 280 "$frame" --home "$home" --headless --no-build "$@")
}

# expected_screen DESKTOP_FILE W H OUT.png: what the handheld's W x H screen shows for a
# desktop picture: the desktop's reduction and encoding, the viewer's decoding and fitting,
# panned to the centre.
expected_screen() {
    local file=$1 w=$2 h=$3 out=$4 pw ph
    "$picture_tool" send "$file" "$w" "$h" "$work/expected-sent.jpg" >/dev/null || fail "glimmora-picture send $file"
    "$picture_tool" show "$work/expected-sent.jpg" "$w" "$h" 0 0 "$work/expected-shown.bmp" >/dev/null ||
        fail "glimmora-picture show of $file"
    read -r pw ph < <(identify -format '%w %h\n' "$work/expected-shown.bmp")
    # Centred as the viewer centres, truncating toward zero: a larger picture is panned to
    # its centre, a smaller one sits in the middle of black.
    convert "$work/expected-shown.bmp" -background black \
        -extent "$(printf '%dx%d%+d%+d' "$w" "$h" $(((pw - w) / 2)) $(((ph - h) / 2)))" +repage "$out"
}

# How many pixels of two pictures differ by more than 3 %.
differing_pixels() {
    compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 || true
}

# The frame's rows for this run: number, sent, shown, desktop file, before, after, ms, shot.
pictures_tsv() { cat "$home/run/pictures.tsv"; }
