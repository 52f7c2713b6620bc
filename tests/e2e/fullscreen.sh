#!/usr/bin/env bash
# Answering Yes, or closing the question without an answer (anything but No counts as Yes), on
# a 1024x768 screen: a borderless 800x600 window at (0, 0), and the program ends with status 0.
#   fullscreen.sh WALKTHROUGH SEND_CLOSE_REQUEST ANSWER DISPLAY_MODES ENDING
# ANSWER: "Return" (the Yes key) or "close" (a close request to the question's window).
# DISPLAY_MODES: "1024x768-only": the change is refused and the desktop stays as it is;
# "with-800x600": the screen runs at 800x600 while the program runs, and at 1024x768 again
# after it.
# ENDING: "escape" (the key) or "terminate" (SIGTERM, which closes the window like a close).
program=$1
send_close_request=$2
answer=$3
modes=$4
ending=$5
test_name="full screen by $answer, $modes, ended by $ending"
source "$(dirname "$0")/e2e_lib.sh"

screen_size() {
    xrandr --current | awk '/^Screen 0:/ { sub(",", "", $10); print $8 "x" $10 }'
}

start_display 1024x768
case $modes in
    1024x768-only) expected_screen=1024x768 ;;
    with-800x600)
        expected_screen=800x600
        xrandr --newmode 800x600_75 49.00 800 840 920 1040 600 603 607 629 -hsync +vsync
        xrandr --addmode screen 800x600_75
        ;;
    *) fail "unknown display modes $modes" ;;
esac

start_program
if [[ $answer == close ]]; then
    box=$(find_top_level_window "说明" 20)
    expect_program_alive "before asking"
    [[ -n $box ]] || fail "no prompt box titled 说明 appeared"
    "$send_close_request" "$box"
else
    answer_prompt "$answer"
fi
wait_for_main_window

read_geometry "$main_window"
[[ "$width x $height" == "800 x 600" ]] || fail "the window is ${width}x$height, not 800x600"
[[ "$left,$top" == "0,0" ]] || fail "the window is at ($left, $top), not (0, 0)"
[[ $(read_decorations "$main_window") == 0 ]] || fail "the window asks for a frame"
[[ $(screen_size) == "$expected_screen" ]] ||
    fail "the screen runs at $(screen_size), not $expected_screen"

case $ending in
    escape) xdotool key Escape ;;
    terminate) kill -TERM "$program_pid" ;;
    *) fail "unknown ending $ending" ;;
esac
expect_exit_status_zero 10
[[ $(screen_size) == 1024x768 ]] || fail "the screen stays at $(screen_size) after the program"
