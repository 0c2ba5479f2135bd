# What the scripts that run Wine prefixes and their screens share. Sourced, after
# `set -euo pipefail`, by scripts/desktop, handheld, frame, wine, wine-run and bench and by
# the test scripts that drive them:
#
#   die MESSAGE...                "NAME: MESSAGE" on standard error (NAME the running script),
#                                 then exit with $die_status (default 1)
#   pid_alive FILE                FILE exists and names a process that still runs
#   winpath PATH                  Wine's view of a host path, through its Z: drive
#   wine_env PREFIX               the environment every Wine program of PREFIX runs in
#   x_server_start DIR WxH [TITLE]
#                                 an X server of its own, found through -displayfd: an
#                                 invisible Xvfb of WxH, or with TITLE a Xephyr window of WxH
#                                 titled TITLE on the current DISPLAY (its output in
#                                 DIR/xephyr.log). Its pid goes to DIR/xvfb.pid and its display
#                                 (":N") to DIR/display. Fails, with nothing left running and
#                                 Xephyr's last words on standard error, when no display number
#                                 comes within 30 s.
#   prefix_pids [--wine] PREFIX...
#                                 processes (one pid a line, this shell's left out) whose
#                                 WINEPREFIX is one of PREFIX; with --wine Wine's own programs
#                                 only (every process started from a script carries it too)
#   prefix_stop DIR NAME...       every process of $WINEPREFIX ended, then those named by
#                                 DIR/NAME.pid; those files and DIR/display removed

lib_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

die() { echo "${0##*/}: $*" >&2; exit "${die_status:-1}"; }

pid_alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

wine_env() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}

x_server_start() {
    local dir=$1 size=$2 title=${3:-} fifo="$1/displayfd" n
    rm -f "$fifo" && mkfifo "$fifo"
    if [ -n "$title" ]; then
        [ -n "${DISPLAY:-}" ] || die "--window needs a display for its window (DISPLAY is not set)"
        command -v Xephyr >/dev/null || die "--window needs Xephyr (Debian's xserver-xephyr; bash scripts/bootstrap)"
        setsid Xephyr -displayfd 3 -screen "$size" -title "$title" \
            -no-host-grab -nolisten tcp 3>"$fifo" </dev/null >"$dir/xephyr.log" 2>&1 &
    else
        setsid Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
    fi
    echo $! >"$dir/xvfb.pid"
    if ! read -r -t 30 n <"$fifo"; then
        rm -f "$fifo"
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid"
        [ -z "$title" ] || tail -n 3 "$dir/xephyr.log" >&2
        return 1
    fi
    rm -f "$fifo"
    echo ":$n" >"$dir/display"
}

prefix_pids() {
    local wine_only=0 environ pid p wanted=()
    [ "${1:-}" = --wine ] && { wine_only=1; shift; }
    for p in "$@"; do wanted+=(-e "WINEPREFIX=$p"); done
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] && continue
        if [ "$wine_only" = 1 ]; then
            case $(readlink "/proc/$pid/exe" 2>/dev/null) in /usr/lib/wine/*) ;; *) continue ;; esac
        fi
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "${wanted[@]}" && echo "$pid"
    done
    return 0
}

# wineserver -k ends every process of the prefix and nothing else, but not a program caught
# between its start and its first word with the server (services starting a driver host as
# the server goes): that one waits on a server that is gone and never ends by itself.
prefix_stop() {
    local dir=$1 left i p
    shift
    "$lib_scripts/wine" --server -k >/dev/null 2>&1 || true
    timeout 15 "$lib_scripts/wine" --server -w >/dev/null 2>&1 || true
    for i in 1 2 3 4 5 6 7 8 9 10; do
        left=$(prefix_pids --wine "$WINEPREFIX")
        [ -z "$left" ] && break
        # shellcheck disable=SC2086
        if [ "$i" -le 5 ]; then kill $left 2>/dev/null || true; else kill -KILL $left 2>/dev/null || true; fi
        sleep 0.3
    done
    for p in "$@"; do
        if pid_alive "$dir/$p.pid"; then
            kill "$(cat "$dir/$p.pid")" 2>/dev/null || true
        fi
        rm -f "$dir/$p.pid"
    done
    rm -f "$dir/display"
}
