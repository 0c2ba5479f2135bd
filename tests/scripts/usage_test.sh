#!/usr/bin/env bash
# Every script's usage: --help prints it to standard output and exits 0; an unknown option
# prints it to standard error and exits 2; every option its parsing knows (a `--name)` case
# pattern) and every command (`name)` in the last case of handheld and desktop) is listed.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for script in frame handheld desktop wine wine-run fuzz test bench soak; do
    path="$here/scripts/$script"
    out=$(bash "$path" --help 2>/dev/null); rc=$?
    [ "$rc" = 0 ] || fail "$script --help exits $rc"
    [ -n "$out" ] || fail "$script --help prints nothing to standard output"
    err=$(bash "$path" --no-such-option 2>&1 >/dev/null); rc=$?
    [ "$rc" = 2 ] || fail "$script --no-such-option exits $rc"
    [[ "$err" == *"$(head -n 1 <<<"$out")"* ]] || fail "$script --no-such-option does not print the usage to standard error"
    # The options its parsing knows, listed in the usage.
    for option in $(grep -oE '^ *(-[a-z]\|)?--[a-z0-9-]+(\|--?[a-z0-9-]+)*\)' "$path" | grep -oE -- '--[a-z0-9-]+' | sort -u); do
        grep -qe "$option\b" <<<"$out" || fail "$script: $option is parsed but not in the usage"
    done
done
for script in handheld desktop; do
    out=$(bash "$here/scripts/$script" --help)
    for command in $(sed -n '/^case "\$command" in/,/^esac/p' "$here/scripts/$script" | grep -oE '^ *[a-z]+\)' | tr -d ' )'); do
        grep -qE "^ *$script $command\b" <<<"$out" || fail "$script: the command $command is not in the usage"
    done
done
[ "$failures" = 0 ] && echo "every script's usage is whole"
[ "$failures" = 0 ]
