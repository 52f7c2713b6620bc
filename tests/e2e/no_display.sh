#!/usr/bin/env bash
# With no display at all (no X, no Wayland) the program cannot show anything and nothing could
# end it: it says why and ends by itself instead of running unseen.
#   no_display.sh WALKTHROUGH
program=$1
test_name="no display"
source "$(dirname "$0")/e2e_lib.sh"

program=$(realpath "$program")
mkdir -p "$work/run"
(
    cd "$work/run"
    unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
    export SDL_AUDIODRIVER=dummy
    exec "$program"
) >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_exit 20
grep -q "cannot open a window" "$work/program.log" || fail "the program did not say why it ended"
