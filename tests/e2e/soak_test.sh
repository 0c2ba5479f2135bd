#!/usr/bin/env bash
# The short soak: 30 pictures at interval 5 through the whole frame with every fault once
# (undocked, agent killed mid-write, storage full, Dockhaven killed, viewer killed, slideshow
# closed on the handheld, folder changed); scripts/soak checks order, whole files, the screen,
# growth and timing, and exits non-zero when one breaks.
#   soak_test.sh SOURCE_DIR BUILD_DIR
# e2e-timeout: 600
set -euo pipefail
src=$1
build=$2
export GLIMMORA_WINDOWS_PRESET
GLIMMORA_WINDOWS_PRESET=$(basename "$build")
work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-e2e-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
rc=0
"$src/scripts/soak" --pictures 30 --interval 5 --seed 7 --home "$work/home" --no-build \
    --report "$work/report.txt" || rc=$?
[ -f "$work/report.txt" ] || { echo "FAIL: the soak wrote no report" >&2; exit 1; }
[ "$rc" = 0 ] || { echo "FAIL: the short soak broke an invariant (exit $rc)" >&2; exit 1; }
echo "soak: passed"
