#!/usr/bin/env bash
# Runs a Windows program under Wine on a screen of a handheld's size, in a prefix of its own
# (Wine keeps one screen size per prefix), and ends the screen and the prefix's processes
# afterwards.
#
#   on_handheld_screen.sh WINE_RUN PREFIX WxH PROGRAM [ARGS...]
set -euo pipefail
[ $# -ge 4 ] || { echo "usage: $0 WINE_RUN PREFIX WxH PROGRAM [ARGS...]" >&2; exit 2; }
runner=$1 prefix=$2 size=$3
shift 3
. "$(dirname "$0")/../../../scripts/lib.sh"
mkdir -p "$prefix"
screen=$(mktemp -d)
x_server_start "$screen" "$size" || { rm -rf "$screen"; echo "Xvfb did not start" >&2; exit 1; }
xvfb=$(cat "$screen/xvfb.pid")
export GLIMMORA_DISPLAY=$(cat "$screen/display")
rm -rf "$screen"
cleanup() {
    "$runner" --prefix "$prefix" --stop >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
"$runner" --prefix "$prefix" --start
status=0
"$runner" --prefix "$prefix" -- "$@" || status=$?
exit $status
