#!/usr/bin/env bash
# The handheld's agent killed while a session waits between pictures: every connection
# attempt fails and nothing arrives; when the handheld is started again the same session
# goes on with the picture that was due, then the rest in order, every file whole, numbered
# on from where it stopped, and a viewer started afresh shows them.
#   agent_killed_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2" agent_killed

e2e_sides_up
e2e_picture p1 red
e2e_picture p2 lime
e2e_picture p3 blue
e2e_session_settings

e2e_dockhaven /start
wait_until 40 "the first picture" complete_jpeg "$(kept_picture 1)"
# The launch follows the write at once; then the session waits its 5 seconds.
sleep 1.5
agent=$(cat "$hh/run/agent.pid")
kill "$agent" || fail "the agent ($agent) could not be killed"
agent_gone() { ! running "$agent"; }
wait_until 10 "the agent to end" agent_gone
# The viewer the agent started lives on without it.
wait_until 20 "the viewer showing p1" screen_shows p1
# More than two intervals without the agent.
sleep 10
[ "$(kept_count)" = 1 ] || fail "pictures arrived while the agent was gone: $(ls "$kept")"
pid_alive "$dk/run/dockhaven.pid" || fail "Dockhaven.exe ended while the agent was gone"

"$handheld" start "$hh" 2>/dev/null || fail "starting the handheld again"
wait_until 30 "the picture after the gap" complete_jpeg "$(kept_picture 2)"
wait_until 20 "the next picture" complete_jpeg "$(kept_picture 3)"
wait_until 20 "the picture after the wrap" complete_jpeg "$(kept_picture 4)"
sent="$(kept_name 1) $(kept_name 2) $(kept_name 3) $(kept_name 4)"
[ "$sent" = "p1 p2 p3 p1" ] || fail "sent $sent instead of p1 p2 p3 p1"
# The session that went on is the first one: it never wrote its resume point.
[ -z "$(dk_value LastImageFilePath)" ] || fail "the session ended during the gap (LastImageFilePath written)"
wait_until 20 "the restarted handheld's viewer showing the last picture" screen_shows_latest
[ -n "$(hh_value RAPI_ThisHWND)" ] || fail "no viewer window runs on the restarted handheld"
e2e_done
