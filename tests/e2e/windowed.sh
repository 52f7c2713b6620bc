#!/usr/bin/env bash
# Answering No: an ordinary (framed, resizable) 800x600 window titled "Quellmark", centred on
# the screen as (screen - window) / 2 truncated toward zero, showing the sample scene; it
# follows a resize, and releasing Escape ends the program with status 0.
#   windowed.sh WALKTHROUGH MAKE_SAMPLE SCREEN_SIZE EXPECTED_LEFT EXPECTED_TOP
program=$1
make_sample=$2
screen_size=$3
expected_left=$4
expected_top=$5
test_name="windowed on $screen_size"
source "$(dirname "$0")/e2e_lib.sh"

# Whether the image holds a picture rather than one colour: no colour on 95 % of its pixels.
shows_a_picture() {
    local histogram
    histogram=$(convert "$1" -format %c histogram:info:-) || return 1
    awk -F: '{ n = $1 + 0; total += n; if (n > most) most = n; colours++ }
             END { exit !(colours >= 2 && most < 0.95 * total) }' <<<"$histogram"
}

mkdir -p "$work/run"
"$make_sample" "$work/run" >/dev/null || fail "make-sample could not write the sample scene"
start_display "$screen_size"
start_program
answer_prompt Escape
wait_for_main_window

read_geometry "$main_window"
[[ "$width x $height" == "800 x 600" ]] || fail "the window is ${width}x$height, not 800x600"
[[ "$left,$top" == "$expected_left,$expected_top" ]] ||
    fail "the window is at ($left, $top), not ($expected_left, $expected_top)"
[[ $(read_decorations "$main_window") == 1 ]] || fail "the window does not ask for a frame"
if xprop -id "$main_window" WM_NORMAL_HINTS | grep -q 'maximum size'; then
    fail "the window cannot be resized"
fi

import -window "$main_window" "$work/window.png" || fail "could not capture the window"
shows_a_picture "$work/window.png" || fail "the window shows one colour, not the scene"

# Every frame puts the cursor back at the screen point (400, 300).
xdotool mousemove 500 350
sleep 0.5
[[ $(xdotool getmouselocation --shell | grep -E '^[XY]=' | tr '\n' ' ') == "X=400 Y=300 " ]] ||
    fail "the cursor was not put back at (400, 300): $(xdotool getmouselocation)"

xdotool windowsize --sync "$main_window" 640 480
expect_running_for 0.5 "a resize to 640x480"
read_geometry "$main_window"
[[ "$width x $height" == "640 x 480" ]] || fail "the resized window is ${width}x$height"

xdotool key Escape
expect_exit_status_zero 10
