#!/usr/bin/env bash
# A picture added to the desktop's picture folder while a session runs in name order: the
# folder watch reports it, and the session takes it at the next wrap of the folder, at its
# place in name order (here the first), not earlier and not at the end.
#   folder_watch_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2" folder_watch

e2e_sides_up
e2e_picture b red
e2e_picture c lime
e2e_session_settings

e2e_dockhaven /start
wait_until 40 "the first picture" complete_jpeg "$(kept_picture 1)"
[ "$(kept_name 1)" = b ] || fail "the first picture sent is $(kept_name 1), not b"
# Added in the middle of the first pass, named to come first.
e2e_picture a blue
wait_until 30 "the fourth picture" complete_jpeg "$(kept_picture 4)"
sent="$(kept_name 1) $(kept_name 2) $(kept_name 3) $(kept_name 4)"
# b c, the wrap re-lists the folder: a b. Without the watch: b c b c; re-listed at once: b b.
[ "$sent" = "b c a b" ] || fail "sent $sent instead of b c a b"
wait_until 20 "the viewer showing the last picture sent" screen_shows_latest
e2e_done
