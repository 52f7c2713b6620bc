#!/usr/bin/env bash
# With no model in the working directory the window shows the dark blue clear colour
# (0, 0, 0.3) over its whole client area, and the program still quits on Escape.
#   no_model.sh WALKTHROUGH
program=$1
test_name="no model"
source "$(dirname "$0")/e2e_lib.sh"

start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

import -window "$main_window" "$work/window.png" || fail "could not capture the window"
# 0.3 of 255 is 76.5: a 24-bit visual rounds it either way.
histogram=$(convert "$work/window.png" -depth 8 -format %c histogram:info:-)
awk '{ n = $1 + 0; total += n }
     /\(0,0,7[67]\)/ { blue += n }
     END { if (total == 0 || blue != total) { print "dark blue on " blue " of " total " pixels"; exit 1 } }' \
    <<<"$histogram" || fail "the window is not dark blue all over: $(head -n 5 <<<"$histogram")"

xdotool key Escape
expect_exit_status_zero 10
