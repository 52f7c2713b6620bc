#!/usr/bin/env bash
# Escape held while the window loses the focus, and released elsewhere, is no release in the
# window: the program goes on. Back in the window, a whole press and release ends it.
#   focus_loss.sh WALKTHROUGH
program=$1
test_name="escape across a focus change"
source "$(dirname "$0")/e2e_lib.sh"

start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

xdotool keydown Escape
sleep 0.3
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')"
expect_running_for 1 "the window lost the focus with Escape held"
xdotool keyup Escape
expect_running_for 1 "Escape was released outside the window"

xdotool windowfocus --sync "$main_window"
sleep 0.3
xdotool key Escape
expect_exit_status_zero 10
