#!/usr/bin/env bash
# Any answer but No, on a 1024x768 screen: a borderless 800x600 window at (0, 0) holding the
# pointer at (400, 300), and the program ends with status 0 with the screen at 1024x768 again.
#   fullscreen.sh WALKTHROUGH SEND_CLOSE_REQUEST ANSWER DISPLAY_MODES ENDING
# ANSWER: "Return" (the Yes key) or "close" (the question closed without an answer).
# DISPLAY_MODES: "1024x768-only" (the change is refused) or "with-800x600" (the screen runs at
# 800x600 while the program runs).
# ENDING: "terminate" (SIGTERM, which closes the window) or "close" (a close request to the
# window, as a window manager sends it for its close button).
program=$1
send_close_request=$2
test_name="full screen by $3, $4, ended by $5"
source "$(dirname "$0")/e2e_lib.sh"

screen_size() {
    xrandr --current | awk '/^Screen 0:/ { sub(",", "", $10); print $8 "x" $10 }'
}

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

read_geometry
[[ "$width x $height at $left,$top" == "800 x 600 at 0,0" ]] ||
    fail "the window is ${width}x$height at ($left, $top), not 800x600 at (0, 0)"
[[ $(read_decorations) == 0 ]] || fail "the window asks for a frame"
[[ $(screen_size) == "$expected_screen" ]] || fail "the screen runs at $(screen_size)"
xdotool mousemove 700 500
wait_until 5 pointer_at 400 300 || fail "the pointer is not held at (400, 300)"

case $5 in
    terminate) kill -TERM "$program_pid" ;;
    close) "$send_close_request" "$main_window" ;;
esac
expect_exit_status_zero 10
[[ $(screen_size) == 1024x768 ]] || fail "the screen stays at $(screen_size) after the program"
