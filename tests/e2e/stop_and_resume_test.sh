#!/usr/bin/env bash
# The handheld's user closes the viewer (a tap on its Close corner) while a docking session
# runs: the desktop session ends quietly at its next connection, saves the last picture it
# sent as its resume point and sends nothing more; a second "/start" resumes with the next
# picture in name order, on a viewer that starts afresh.
#   stop_and_resume_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2" stop_and_resume

e2e_sides_up
e2e_picture p1 red
e2e_picture p2 lime
e2e_picture p3 blue
e2e_picture p4 yellow
e2e_session_settings

e2e_dockhaven /start
wait_until 40 "the first picture" complete_jpeg "$(kept_picture 1)"
wait_until 20 "the second picture" complete_jpeg "$(kept_picture 2)"
[ "$(kept_name 1) $(kept_name 2)" = "p1 p2" ] || fail "sent $(kept_name 1), $(kept_name 2) instead of p1, p2"
wait_until 20 "the viewer showing p2" screen_shows p2
[ -n "$(hh_value RAPI_ThisHWND)" ] || fail "the viewer published no window handle"

# The Close corner of an unturned picture on a 240 x 320 screen is (192, 0)-(240, 48).
"$handheld" tap "$hh" 216 24 2>/dev/null || fail "tap"
wait_until 10 "the viewer to end" hh_lacks RAPI_ThisHWND
[ "$(hh_value RAPI_StopSlideshow)" = 0x1 ] || fail "the viewer's close did not write RAPI_StopSlideshow = 1"

# The session's end is when it writes its resume point.
wait_until 20 "the desktop session to end" dk_has LastImageFilePath
resume=$(dk_value LastImageFilePath)
[ "$resume" = 'C:\Pictures\p2.jpg' ] || fail "the resume point is '$resume', not the last picture sent (p2)"
# Nothing more arrives over more than an interval.
sleep 6
[ "$(kept_count)" = 2 ] || fail "pictures arrived after the handheld's stop: $(ls "$kept")"
[ "$(kept_name 2)" = p2 ] || fail "Glimmora_002.jpg changed after the stop"
pid_alive "$dk/run/dockhaven.pid" || fail "Dockhaven.exe ended with its session"

# A new start: the counter begins again at 1, with the picture after p2.
e2e_second_copy /start
wait_until 20 "the resumed session's picture" kept_is 1 p3
wait_until 20 "the new viewer showing p3" screen_shows p3
[ "$(hh_value RAPI_StopSlideshow)" != 0x1 ] || fail "RAPI_StopSlideshow still reads 1 after the new start"
[ "$(kept_count)" = 2 ] || fail "the resumed session wrote more than Glimmora_001.jpg at first: $(ls "$kept")"
wait_until 20 "the picture after p3" kept_is 2 p4
e2e_done
