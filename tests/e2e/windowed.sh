#!/usr/bin/env bash
# Answering No on a 1024x768 screen: an ordinary (framed, resizable) 800x600 window titled
# "Quellmark" centred at (112, 84), showing the sample scene's street. While the window has the
# focus the pointer is held at its centre (512, 384): moved up it tilts the view into the sky,
# down to the ground, and Page Up raises the eye above the roofs. Without the focus the pointer
# stays where the user leaves it, and Escape held as the focus goes and released elsewhere is no
# release in the window; back in it the pointer is put at the centre. The window follows a
# resize, and Escape acts on its release, ending the program with status 0.
#   windowed.sh WALKTHROUGH MAKE_SAMPLE
program=$1
test_name="windowed"
source "$(dirname "$0")/e2e_lib.sh"

# Whether more than the given fraction of the window shows the sky's colour (the clear colour).
sky_over() {
    import -window "$main_window" "$work/look.png"
    sky=$(convert "$work/look.png" -depth 8 -format %c histogram:info:- |
        awk '{ n = $1 + 0; total += n } /\(0,0,7[67]\)/ { sky += n } END { print sky / total }')
    awk -v s="$sky" -v t="$1" 'BEGIN { exit !(s > t) }'
}

write_sample "$2"
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

read_geometry
[[ "$width x $height at $left,$top" == "800 x 600 at 112,84" ]] ||
    fail "the window is ${width}x$height at ($left, $top), not 800x600 at (112, 84)"
[[ $(read_decorations) == 1 ]] || fail "the window does not ask for a frame"
xprop -id "$main_window" WM_NORMAL_HINTS | grep -q 'maximum size' && fail "the window cannot be resized"
sky_over 0.05 && ! sky_over 0.4 || fail "the start view shows sky on $sky of the window, not the street"

xdotool mousemove 600 400
wait_until 5 pointer_at 512 384 || fail "the pointer was not put back at the window's centre"
xdotool keydown Page_Up
wait_until 10 sky_over 0.4 || fail "Page Up held did not raise the eye: sky $sky"
xdotool keyup Page_Up
wait_until 10 eval 'xdotool mousemove 512 234; sky_over 0.9' || fail "moving the mouse up: sky $sky"
wait_until 10 eval 'xdotool mousemove 512 534; ! sky_over 0.05' || fail "moving the mouse down: sky $sky"

xdotool keydown Escape
sleep 0.3
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')" mousemove 100 100
expect_running_for 1 "the window lost the focus with Escape held"
pointer_at 100 100 || fail "the pointer was moved while the window had no focus"
xdotool keyup Escape
expect_running_for 1 "Escape was released outside the window"
xdotool windowfocus --sync "$main_window"
wait_until 5 pointer_at 512 384 || fail "the pointer was not put at the window's centre on return"

xdotool windowsize --sync "$main_window" 640 480
expect_running_for 0.5 "a resize to 640x480"
read_geometry
[[ "$width x $height" == "640 x 480" ]] || fail "the resized window is ${width}x$height"

xdotool keydown Escape
expect_running_for 1 "Escape was pressed and held"
xdotool keyup Escape
expect_exit_status_zero 10
