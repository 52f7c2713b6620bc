#!/usr/bin/env bash
# Escape acts on its release: held down, the program goes on; released, it ends with status 0.
#   escape.sh WALKTHROUGH
program=$1
test_name="escape"
source "$(dirname "$0")/e2e_lib.sh"

start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

xdotool keydown Escape
expect_running_for 1.5 "Escape was pressed and held"
xdotool keyup Escape
expect_exit_status_zero 10
