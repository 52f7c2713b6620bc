#!/usr/bin/env bash
# The keys and the mouse move the view, measured by how much of the window shows the sky (the
# clear colour). Page Up held raises the eye above the roofs: more sky. The mouse moved up
# tilts the view into the sky (nearly all sky), moved down to the ground (no sky). Every frame
# puts the cursor back at (400, 300), so each move counts once. The shares are those of the
# sample town's street at the start pose.
#   view_controls.sh WALKTHROUGH MAKE_SAMPLE
program=$1
make_sample=$2
test_name="view controls"
source "$(dirname "$0")/e2e_lib.sh"

# The share of the window's pixels that have the given colour, as a fraction.
share_of_colour() {
    import -window "$main_window" "$work/look.png"
    convert "$work/look.png" -format %c histogram:info:- |
        awk -v colour="$1" '{ n = $1 + 0; total += n } index($0, colour) { hits += n }
                            END { printf "%.3f\n", hits / total }'
}

mkdir -p "$work/run"
"$make_sample" "$work/run" >/dev/null || fail "make-sample could not write the sample scene"
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

# At the start the top of the window shows the sky: the clear colour.
import -window "$main_window" "$work/start.png"
sky=$(convert "$work/start.png" -format '%[pixel:p{400,2}]' info:-)
at_start=$(share_of_colour "$sky")

# Each check repeats its input until the view has moved far enough (frames may be slow on a
# loaded machine, and every step is per frame), up to a bound.
xdotool keydown Page_Up
raised=$at_start
for _ in $(seq 20); do
    sleep 0.5
    raised=$(share_of_colour "$sky")
    awk -v raised="$raised" 'BEGIN { exit !(raised > 0.4) }' && break
done
xdotool keyup Page_Up
awk -v raised="$raised" 'BEGIN { exit !(raised > 0.4) }' ||
    fail "Page Up held did not raise the eye: sky $at_start of the window, then $raised"

# The window spans y 84..683, so these points are inside it: 150 px above 300, 200 px below.
looking_up=$raised
for _ in $(seq 30); do
    xdotool mousemove 400 150
    sleep 0.2
    looking_up=$(share_of_colour "$sky")
    awk -v up="$looking_up" 'BEGIN { exit !(up > 0.9) }' && break
done
awk -v up="$looking_up" 'BEGIN { exit !(up > 0.9) }' ||
    fail "moving the mouse up did not tilt the view up: sky $raised of the window, then $looking_up"

looking_down=$looking_up
for _ in $(seq 30); do
    xdotool mousemove 400 500
    sleep 0.2
    looking_down=$(share_of_colour "$sky")
    awk -v down="$looking_down" 'BEGIN { exit !(down < 0.05) }' && break
done
awk -v down="$looking_down" 'BEGIN { exit !(down < 0.05) }' ||
    fail "moving the mouse down did not tilt the view down: sky $looking_down of the window"

xdotool key Escape
expect_exit_status_zero 10
