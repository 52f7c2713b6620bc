#!/usr/bin/env bash
# fullscreen.sh WALKTHROUGH SEND_CLOSE_REQUEST ANSWER MODES ENDING: any answer but No (Return,
# or the question closed) gives a borderless 800x600 window at (0, 0) holding the pointer at
# (400, 300), at 800x600 if the screen has it; the end (SIGTERM or a close request) restores it.
program=$1 send_close_request=$2 test_name="full screen by $3, $4, ended by $5"
source "$(dirname "$0")/e2e_lib.sh"
screen_size() { xrandr --current | awk '/^Screen 0:/ { sub(",", "", $10); print $8 "x" $10 }'; }

start_display 1024x768
expected_screen=1024x768
if [[ $4 == with-800x600 ]]; then
    expected_screen=800x600
    xrandr --newmode 800x600_75 49.00 800 840 920 1040 600 603 607 629 -hsync +vsync
    xrandr --addmode screen 800x600_75
fi
start_program
answer_prompt "$3"
wait_for_main_window
[[ "$width x $height at $left,$top" == "800 x 600 at 0,0" ]] ||
    fail "the window is ${width}x$height at ($left, $top), not 800x600 at (0, 0)"
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '= 0x2, 0x0, 0x0,' || fail "a frame is asked for"
[[ $(screen_size) == "$expected_screen" ]] || fail "the screen runs at $(screen_size)"
xdotool mousemove 700 500
wait_until 5 pointer_at 400 300 || fail "the pointer is not held at (400, 300)"
if [[ $5 == close ]]; then "$send_close_request" "$window"; else kill -TERM "$program_pid"; fi
expect_exit_status 0 10
[[ $(screen_size) == 1024x768 ]] || fail "the screen stays at $(screen_size) after the program"
