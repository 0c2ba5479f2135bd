# Shared set-up of the end-to-end scenarios, sourced by tests/e2e/NAME_test.sh after
# `set -euo pipefail`:
#
#   e2e_init SOURCE_DIR BUILD_DIR NAME   a work folder, the build's programs, the exit trap
#   e2e_sides_up                         handheld and desktop created (side by side), the
#                                        handheld started and Glimmora installed from BUILD_DIR
#   e2e_settings NAME=VALUE...           Dockhaven's settings (DWORD for numbers, else REG_SZ)
#   e2e_session_settings [NAME=VALUE...] the scenarios' session: the picture folder in name
#                                        order, every 5 s, auto start without delay, no
#                                        calendar, every picture kept; NAME=VALUE overrides
#   e2e_picture NAME COLOUR              a 480 x 640 JPEG of one colour in the picture folder
#   e2e_dockhaven [ARGS...]              Dockhaven.exe started on the desktop, reaching the handheld
#   e2e_second_copy ARGS...              a second Dockhaven.exe, handing ARGS to the running one
#   wait_until SECONDS WHAT COMMAND...   polls COMMAND until it succeeds; fails naming WHAT
#   kept_picture N / kept_count          \My Documents\Glimmora\Glimmora_00N.jpg; how many exist
#   complete_jpeg FILE                   FILE decodes without a warning (not cut short)
#   colour_of FILE / same_colour A B     mean colour "R G B"; whether two lie within 12 levels
#   colour_name FILE                     the picture made by e2e_picture whose colour FILE shows
#   screen_shows NAME                    the handheld's screen shows picture NAME
#   screen_shows_latest                  ... the picture of the newest kept file
#   hh_value NAME / dk_value NAME        a value of the application key on either side
#   hh_lacks NAME / dk_has NAME          ... is absent on the handheld / set on the desktop
#   kept_is N NAME                       Glimmora_00N.jpg is whole and shows picture NAME
#   e2e_done                             both sides stopped, no process of theirs left
#
# The scenarios see $src, $build, $work, $hh, $dk, $pictures, $drive (the handheld's storage, its \)
# and $kept (where the session keeps the pictures it sends).

e2e_init() {
    src=$1
    build=$2
    e2e_name=$3
    handheld="$src/scripts/handheld"
    desktop="$src/scripts/desktop"
    [ -f "$build/bin/Dockhaven.exe" ] && [ -f "$build/bin/Glimmora.exe" ] ||
        { echo "FAIL: $build holds no Dockhaven.exe or Glimmora.exe (build it first)" >&2; exit 1; }
    export GLIMMORA_WINDOWS_PRESET
    GLIMMORA_WINDOWS_PRESET=$(basename "$build")
    export GLIMMORA_AGENT="$build/bin/handheld-agent.exe"
    export GLIMMORA_DOCKHAVEN="$build/bin/Dockhaven.exe"
    # reg.exe in the registry view of the build's programs (plain reg may be the other one).
    case "$GLIMMORA_WINDOWS_PRESET" in win64) view=/reg:64 ;; *) view=/reg:32 ;; esac
    work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-e2e-$e2e_name.XXXXXX")
    hh="$work/hh"
    dk="$work/dk"
    drive="$hh/storage"
    kept="$drive/My Documents/Glimmora"
    pictures="$dk/prefix/drive_c/Pictures"
    e2e_started=$SECONDS
    trap e2e_cleanup EXIT
}

fail() {
    echo "FAIL ($e2e_name, at $((SECONDS - e2e_started)) s): $*" >&2
    exit 1
}
note() { echo "$e2e_name: $*"; }

e2e_stop_sides() {
    [ -d "$dk/prefix" ] && "$desktop" stop "$dk" >/dev/null 2>&1
    [ -d "$hh/prefix" ] && "$handheld" stop "$hh" >/dev/null 2>&1
    return 0
}

e2e_cleanup() {
    local rc=$?
    e2e_stop_sides
    if [ $rc -ne 0 ] && [ -n "${GLIMMORA_E2E_KEEP:-}" ]; then
        echo "$e2e_name: work folder kept in $work" >&2
    else
        rm -rf "$work"
    fi
}

# Processes whose Wine prefix lies in the work folder, one pid a line.
e2e_own_processes() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] && continue
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF -e "WINEPREFIX=$hh/prefix" -e "WINEPREFIX=$dk/prefix" &&
            echo "$pid"
    done
    return 0
}

# A process that has not ended yet (a zombie has ended).
running() { [ -n "$(ps -o stat= -p "$1" 2>/dev/null | grep -v '^Z')" ]; }
screens_gone() {
    local p
    for p in "$@"; do running "$p" && return 1; done
    return 0
}
no_own_process() { [ -z "$(e2e_own_processes)" ]; }

e2e_done() {
    local xvfb=() f
    for f in "$hh/run/xvfb.pid" "$dk/run/xvfb.pid"; do [ -f "$f" ] && xvfb+=("$(cat "$f")"); done
    [ ${#xvfb[@]} = 2 ] || fail "a side's screen was not running at the end"
    # The check below must see the running sides, or it would pass whatever is left.
    [ -n "$(e2e_own_processes)" ] || fail "no Wine process of either side found while they run"
    e2e_stop_sides
    # The screens are sent their signal and not waited for: they get a few seconds to go.
    wait_until 10 "both screens (Xvfb ${xvfb[*]}) to end" screens_gone "${xvfb[@]}"
    wait_until 10 "every Wine process of both sides to end" no_own_process
    note "passed in $((SECONDS - e2e_started)) s"
}

wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail "waited $seconds s for $what"
        sleep 0.2
    done
}

# Both sides are made at once: a prefix takes most of half a minute, mostly waiting on Wine.
e2e_sides_up() {
    (
        "$handheld" create "$hh" --size 240x320 || exit 1
        "$handheld" start "$hh" || exit 2
        "$handheld" install "$hh" --from "$build/bin" || exit 3
    ) >"$work/hh-up.log" 2>&1 &
    local hh_job=$! rc=0
    "$desktop" create "$dk" >"$work/dk-create.log" 2>&1 || { cat "$work/dk-create.log" >&2; fail "desktop create"; }
    mkdir -p "$pictures"
    wait "$hh_job" || rc=$?
    if [ $rc -ne 0 ]; then
        cat "$work/hh-up.log" >&2
        local steps=("" create start install)
        fail "the handheld's ${steps[rc]:-set-up} failed"
    fi
    note "both sides up in $((SECONDS - e2e_started)) s"
}

e2e_session_settings() {
    e2e_settings 'ImageFolderPath=C:\Pictures\' FileSortBy=1 FileSortAscending=1 PictureChangeInterval=5 \
        AutoStart=1 AutoStartDelay=0 ShowCalendar=0 DoNotRemoveTempFiles=1 PPC_TempMaxFileCount=20 "$@"
}

e2e_settings() {
    local file="$work/settings.reg" pair name value
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestrova\\Glimmora]\r\n'
        for pair in "$@"; do
            name=${pair%%=*}
            value=${pair#*=}
            if [[ "$value" =~ ^[0-9]+$ ]]; then
                printf '"%s"=dword:%08x\r\n' "$name" "$value"
            else
                value=${value//\\/\\\\}
                printf '"%s"="%s"\r\n' "$name" "$value"
            fi
        done
    } >"$file"
    timeout 60 "$desktop" run "$dk" reg import "$(printf 'Z:%s' "$file" | tr '/' '\\')" "$view" >/dev/null 2>&1 ||
        fail "writing the desktop's settings"
}

# A colour per picture name, so that every file on the handheld tells which picture it is.
declare -A e2e_colours=()
e2e_picture() {
    e2e_colours[$1]=$2
    convert -size 480x640 "xc:$2" -quality 92 "$work/$1.tmp.jpg"
    # Moved in whole: a half-written picture must never be listed.
    mv "$work/$1.tmp.jpg" "$pictures/$1.jpg"
}

e2e_dockhaven() {
    "$desktop" start "$dk" --handheld "$hh" "$@" 2>/dev/null || fail "starting Dockhaven.exe"
}

e2e_second_copy() {
    timeout 60 "$desktop" run "$dk" "$GLIMMORA_DOCKHAVEN" "$@" >/dev/null 2>&1 ||
        fail "a second Dockhaven.exe $* did not end at once"
}

kept_picture() { printf '%s/Glimmora_%03d.jpg' "$kept" "$1"; }
kept_count() { find "$kept" -maxdepth 1 -name 'Glimmora_*.jpg' 2>/dev/null | wc -l; }

complete_jpeg() { [ -s "$1" ] && identify -regard-warnings "$1" >/dev/null 2>&1; }

colour_of() {
    convert "$1" -scale '1x1!' -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]' info: 2>/dev/null
}
colour_value() { convert xc:"$1" -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]' info:; }

same_colour() {
    local a b
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    [ ${#a[@]} -eq 3 ] && [ ${#b[@]} -eq 3 ] || return 1
    local i d
    for i in 0 1 2; do
        d=$((a[i] - b[i]))
        [ ${d#-} -le 12 ] || return 1
    done
}

colour_name() {
    local seen name
    seen=$(colour_of "$1") || { echo "unreadable"; return; }
    for name in "${!e2e_colours[@]}"; do
        if same_colour "$seen" "$(colour_value "${e2e_colours[$name]}")"; then echo "$name"; return; fi
    done
    echo "unknown($seen)"
}

# The picture a kept file holds, once it is whole.
kept_name() {
    local f
    f=$(kept_picture "$1")
    complete_jpeg "$f" || { echo "missing"; return; }
    colour_name "$f"
}

screen_shows() {
    "$handheld" shot "$hh" "$work/screen.png" 2>/dev/null || return 1
    # The middle of the screen: the picture covers it whole; corners may hold buttons.
    convert "$work/screen.png" -gravity center -crop 160x240+0+0 +repage "$work/screen-middle.png" &&
        same_colour "$(colour_of "$work/screen-middle.png")" "$(colour_value "${e2e_colours[$1]}")"
}

# The screen shows the picture in the newest kept file (looked at afresh on every call).
screen_shows_latest() { screen_shows "$(kept_name "$(kept_count)")"; }

# A value of the application key: its data as reg.exe prints it, or nothing when it is absent.
hh_value() {
    timeout 60 "$handheld" run "$hh" reg query 'HKCU\Software\Kestrova\Glimmora' /v "$1" "$view" 2>/dev/null |
        tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
hh_lacks() { [ -z "$(hh_value "$1")" ]; }
dk_has() { [ -n "$(dk_value "$1")" ]; }
kept_is() { [ "$(kept_name "$1")" = "$2" ]; }
dk_value() {
    timeout 60 "$desktop" run "$dk" reg query 'HKCU\Software\Kestrova\Glimmora' /v "$1" "$view" 2>/dev/null |
        tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
