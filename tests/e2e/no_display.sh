#!/usr/bin/env bash
# With no display at all (no X, no Wayland) the program cannot show anything and nothing could
# end it: it says why and ends by itself instead of running unseen.
#   no_display.sh WALKTHROUGH
program=$(realpath "$1")
test_name="no display"
source "$(dirname "$0")/e2e_lib.sh"

(
    cd "$work"
    unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
    export SDL_AUDIODRIVER=dummy
    exec "$program"
) >"$work/program.log" 2>&1 &
program_pid=$!
wait_until 20 eval '! kill -0 "$program_pid" 2>/dev/null' || fail "the program still runs 20 s later"
grep -q "cannot open a window" "$work/program.log" || fail "the program did not say why it ended"
