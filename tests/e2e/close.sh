#!/usr/bin/env bash
# A close request to the window, as a window manager sends it for the close button, ends the
# program with status 0.
#   close.sh WALKTHROUGH SEND_CLOSE_REQUEST
program=$1
send_close_request=$2
test_name="close"
source "$(dirname "$0")/e2e_lib.sh"

start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

"$send_close_request" "$main_window"
expect_exit_status_zero 10
