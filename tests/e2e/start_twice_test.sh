#!/usr/bin/env bash
# "/start" given to the running copy while its session runs: the session is stopped and a
# new one begins after the start-up delay. With a delay of D seconds and an interval of 15,
# the next picture comes D seconds after the second "/start": not at once (the delay is
# kept), not after the old session's interval (the old session has gone), and it is the
# picture after the last one sent, numbered 1 again (a new session).
#   start_twice_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2" start_twice
delay=6

e2e_sides_up
e2e_picture p1 red
e2e_picture p2 lime
e2e_picture p3 blue
e2e_session_settings PictureChangeInterval=15 AutoStartDelay=$delay

# Seconds since the scenario began, to the tenth.
now() { local t; t=$(date +%s%N); echo $(((t - e2e_epoch) / 100000000)); }
e2e_epoch=$(date +%s%N)
tenths() { printf '%d.%d s' $(($1 / 10)) $(($1 % 10)); }

launched=$(now)
e2e_dockhaven /start
wait_until 60 "the first picture" complete_jpeg "$(kept_picture 1)"
arrived=$(now)
[ "$(kept_name 1)" = p1 ] || fail "the first picture sent is $(kept_name 1), not p1"
note "first picture $(tenths $((arrived - launched))) after the docking launch"
[ $((arrived - launched)) -ge $((delay * 10)) ] ||
    fail "the first picture came $(tenths $((arrived - launched))) after the launch, within the ${delay} s delay"

sleep 1
asked=$(now)
e2e_second_copy /start
answered=$(now)
note "the second /start took $(tenths $((answered - asked)))"
[ $((answered - arrived)) -lt 120 ] || fail "the second /start ended too late to tell the two sessions apart"
wait_until $((delay + 20)) "the new session's first picture" kept_is 1 p2
again=$(now)
note "next picture $(tenths $((again - answered))) after the second /start ended"
[ $((again - answered)) -ge $((delay * 10 - 5)) ] ||
    fail "the next picture came $(tenths $((again - answered))) after the second /start: the ${delay} s delay was not kept"
# The old session would have sent p2, as Glimmora_002.jpg, 15 s after p1.
[ $((again - arrived)) -lt 150 ] || fail "the next picture came only after the old session's interval"
[ ! -e "$(kept_picture 2)" ] || fail "the old session went on: Glimmora_002.jpg exists"
wait_until 20 "the viewer showing p2" screen_shows p2
e2e_done
