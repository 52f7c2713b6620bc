#!/usr/bin/env bash
# Answering No on a 1024x768 screen: a framed, resizable 800x600 window at (112, 84) showing the
# street, the sound file's own samples played. With the focus the pointer is held at the centre:
# moved up it tilts the view into the sky; Page Up raises the eye. Without it the pointer is left
# alone, and Escape released elsewhere is no release. Escape ends the program on its release.
# A model named with --windowed opens a window with nothing asked first, its title naming it and
# saying whether it walks or flies, which G switches (where the window stands and what the fitted
# view shows: the shell's and the picture tests); a model that is not there ends the program with
# status 1, saying why in a box and on stderr.
#   windowed.sh WALKTHROUGH MAKE_SAMPLE
program=$1 test_name=windowed
source "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$work/run" && "$2" "$work/run" >/dev/null || fail "make-sample failed"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/played.raw
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window
[[ "$width x $height at $left,$top" == "800 x 600 at 112,84" ]] ||
    fail "the window is ${width}x$height at ($left, $top), not 800x600 at (112, 84)"
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '= 0x2, 0x0, 0x1,' || fail "no frame is asked for"
xprop -id "$window" WM_NORMAL_HINTS | grep -q 'maximum size' && fail "the window cannot be resized"
sky_over 0.05 && ! sky_over 0.4 || fail "the start view shows sky on $sky of the window"

xdotool mousemove 600 400
wait_until 5 pointer_at 512 384 || fail "the pointer was not put back at the window's centre"
xdotool keydown Page_Up
wait_until 10 sky_over 0.4 || fail "Page Up held did not raise the eye: sky $sky"
xdotool keyup Page_Up
wait_until 10 eval 'xdotool mousemove 512 234; sky_over 0.9' || fail "moving the mouse up: sky $sky"

root=$(xwininfo -root | awk '/Window id/ { print $4 }')
xdotool keydown Escape sleep 0.3 windowfocus "$root" mousemove 100 100
expect_running_for 1 "the window lost the focus with Escape held"
pointer_at 100 100 || fail "the pointer was moved while the window had no focus"
xdotool keyup Escape
expect_running_for 1 "Escape was released outside the window"
xdotool windowfocus --sync "$window"
wait_until 5 pointer_at 512 384 || fail "the pointer was not put at the window's centre on return"
xdotool keydown Escape
expect_running_for 1 "Escape was pressed and held"
xdotool keyup Escape
expect_exit_status 0 10

# The samples follow the "data" chunk's id and length; either may start with silence.
wav=$work/run/groud.wav
data=$(grep -obUa data "$wav" | awk -F: 'NR == 1 { print $1 + 8 }')
first_sound() { od -An -tu1 -v -w1 -j "$2" "$1" | awk '$1 != 0 { print NR - 1; exit }' || true; }
in_file=$(first_sound "$wav" "$data") played=$(first_sound "$work/played.raw" 0)
[[ -n $in_file && -n $played ]] || fail "the sample sound is silent, or nothing was played"
cmp -s -n 8192 -i "$((data + in_file)):$played" "$wav" "$work/played.raw" ||
    fail "the first 8192 bytes played are not the file's samples"

mv "$work/run/kelm.3ds" "$work/house.3ds"  # named away from the working folder
start_program --windowed "$work/house.3ds"
wait_for_main_window "house.3ds - flying (G: walk)"
xdotool key g
wait_until 5 window_titled "house.3ds - walking (G: fly)" || fail "G did not start walking"
kill -TERM "$program_pid"
expect_exit_status 0 10
start_program "$work/missing.3ds"
wait_until "$window_wait" window_titled walkthrough || fail "no box titled walkthrough appeared"
xdotool windowfocus --sync "$window" key --clearmodifiers Return
expect_exit_status 1 10
grep -qx "walkthrough: cannot open $work/missing.3ds: No such file or directory" \
    "$work/program.log" || fail "the program did not say why it cannot open missing.3ds"
