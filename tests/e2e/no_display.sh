#!/usr/bin/env bash
# With no display at all (no X, no Wayland) the program cannot show anything and nothing could
# end it: it says why and ends with status 1 instead of running unseen.
program=$1 test_name="no display"
source "$(dirname "$0")/e2e_lib.sh"
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
start_in_run env SDL_AUDIODRIVER=dummy "$program"
expect_exit_status 1 20
grep -q "cannot open a window" "$work/program.log" || fail "the program did not say why it ended"
